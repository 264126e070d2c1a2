// The link against powersim over TCP and over a pseudo-terminal at 38400 Bd:
// the connect exchange, and a full dump (the connect exchange and every
// program read), of each family with the reply waits of the table and with
// reply-driven pacing, both in one run; the counters give both times and
// their ratio, and for the serial line the bytes on the wire divided by the
// line rate (10 bits a byte). powersim holds each reply on the
// pseudo-terminal until the frame and the reply would have crossed a cable at
// 38400 Bd, so the serial times include the line's own time.
//
// The link runs in this process on the system's ports. With reply-driven
// pacing the link answers the port's events between ticks, so that run goes
// in real time: a tick every 50 ms, the event loop running in between, and
// its time is what the run took. With the reply waits of the table only the
// ticks act: between two of them the event loop runs until the awaited reply
// is there or the tick's time has passed, so waits the source has already
// answered are not sat out (that time is ticks x 50 ms). With
// VEXA_LINK_BENCH_REAL=1 that run also goes in real time, as in the program:
// the whole run then takes about half an hour, most of it the table's waits.
#include "app/MainTimer.h"
#include "comm/CommConnect.h"
#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <functional>

namespace {

// The system's link, counting the bytes that cross it.
class CountingPort : public CommPort {
public:
  int Open() override { return system_.Open(); }
  int OpenState() override { return system_.OpenState(); }
  void Close() override { system_.Close(); }
  void Clear() override { system_.Clear(); }
  int Write(const uint8_t *buffer, int32_t length) override {
    Bytes += length;
    return system_.Write(buffer, length);
  }
  int32_t Read(uint8_t *buffer, int32_t capacity, int32_t expectLen) override {
    const int32_t n = system_.Read(buffer, capacity, expectLen);
    Bytes += n;
    return n;
  }
  int64_t Bytes = 0;

private:
  SystemCommPort system_;
};

class ConnectSeen : public ViewHooks {
public:
  void CommConnectToPanel(int connected) override { Shown = connected == 1; }
  bool Shown = false;
};

struct Family {
  const char *Name;
  int32_t Model;
  const char *Rating;
};

const Family kFamilies[] = {{"FCT", kModelFCT, "5"}, {"FCS", kModelFCS, "3"},
                            {"FSA", kModelFSA, "5"}, {"FSB", kModelFSB, "0500"},
                            {"FPA", kModelFPA, "5"}, {"FPB", kModelFPB, "0500"},
                            {"GS", kModelGS, "12"},  {"FL", kModelFL, "5"}};

// The serial line's rate; powersim gives the pseudo-terminal a cable's time
// at this rate (a pseudo-terminal alone passes bytes at once).
constexpr int kBaud = 38400;

bool RealTime() { return qEnvironmentVariableIntValue("VEXA_LINK_BENCH_REAL") == 1; }

int WaitingBytes() {
  const PowerInfo &info = gPowerInfo;
  return info.CommType == kCommLAN ? PortLanInQLen(info.LanHandle)
                                   : PortUartInQLen(info.CommTypeRS232Port);
}

// One tick after the event loop had its time. In real time the event loop
// runs for the tick's 50 ms and the tick is not made once done() holds;
// counted, only until the awaited reply is there.
void Tick(bool real, const std::function<bool()> &done) {
  QElapsedTimer clock;
  clock.start();
  if (real) {
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.setSingleShot(true);
    while (!done() && clock.elapsed() < kMainTimerPeriodMs) {
      if (!wake.isActive())
        wake.start(static_cast<int>(kMainTimerPeriodMs - clock.elapsed()));
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!done())
      MainTimerTick();
    return;
  }
  // The tick that reads a reply may wait as long as the whole wait would
  // have lasted: the reply may take that long to cross the line.
  const CommInfo &c = gCommInfo;
  const bool awaited = gPowerInfo.Connected == 1 && c.PresentValid == 1 && c.WaitCount == 0;
  const int64_t limitMs = (c.Interval + 1) * kMainTimerPeriodMs;
  do {
    QCoreApplication::processEvents();
    if (!awaited || WaitingBytes() >= c.RxExpectLen)
      break;
    QThread::usleep(200);
  } while (clock.elapsed() < limitMs);
  MainTimerTick();
}

struct Outcome {
  double Seconds = 0; // in real time what it took, else ticks x 50 ms
  int64_t Bytes = 0;
  double WallSeconds = 0;
  bool Done = false;
};

// Connects to the source's endpoint and runs the connect exchange, and for a
// dump the program reads after it, counting ticks and bytes.
Outcome Exchange(const QString &endpoint, bool lan, const Family &family, bool dump,
                 int32_t pacing) {
  ResetProgramState();
  PowerInfo &info = gPowerInfo;
  info.Language = 1;
  info.SoftwareAddress = 1;
  info.ModelType = family.Model;
  info.CommReplyPacing = pacing;
  if (lan) {
    info.CommType = kCommLAN;
    info.CommTypeLAN_IP1 = 127;
    info.CommTypeLAN_IP4 = 1;
    info.CommTypeLAN_Port = endpoint.section(':', 1).toInt();
  } else {
    info.CommType = kCommRS232;
    info.CommTypeRS232Baudrate = kBaud;
    const QByteArray path = endpoint.toLocal8Bit();
    std::copy(path.begin(), path.end(), info.CommTypeRS232Device.begin());
  }
  CountingPort port;
  ConnectSeen hooks;
  SetCommPort(&port);
  SetHooks(&hooks);
  Outcome outcome;
  QElapsedTimer wall;
  wall.start();
  const int64_t start = gTimerTick;
  const bool real = pacing == 1 || RealTime();
  auto runUntil = [&](const std::function<bool()> &done) {
    while (!done() && (gPowerInfo.Connected == 1 || gCommLink.Opening == 1))
      Tick(real, done);
    return done();
  };
  auto idle = [] { return gCommNewCmd.Count == 0 && gCommInfo.PresentValid == 0; };
  CommConnectDeal(1);
  outcome.Done = runUntil([&] { return hooks.Shown && idle(); });
  const bool programs =
      family.Model == kModelFPA || family.Model == kModelFPB || family.Model == kModelGS;
  if (outcome.Done && dump && programs) {
    CommSetNewCmdSingleGroup(kCmdClassRead, 0x22, 0);
    CommSetNewCmdGroup(kGroupReadList);
    CommSetNewCmdGroup(kGroupReadRamp);
    if (family.Model == kModelGS)
      CommSetNewCmdGroup(kGroupReadCross);
    outcome.Done = runUntil(idle);
  }
  outcome.WallSeconds = wall.elapsed() / 1000.0;
  outcome.Seconds =
      real ? outcome.WallSeconds : (gTimerTick - start) * (kMainTimerPeriodMs / 1000.0);
  outcome.Bytes = port.Bytes;
  CommConnectDeal(0);
  SetCommPort(nullptr);
  SetHooks(nullptr);
  return outcome;
}

void BM_Link(benchmark::State &state, Family family, bool lan, bool dump) {
  QTemporaryDir work; // a source of another model writes auto-save files
  const QString previous = QDir::currentPath();
  QDir::setCurrent(work.path());
  QProcess sim;
  sim.start(POWERSIM_EXE, {"--model", family.Name, "--rating", family.Rating, "--serial",
                           "--line-rate", QString::number(kBaud), "--no-stdin"});
  QString endpoint;
  while (sim.waitForReadyRead(5000) || sim.canReadLine()) {
    const QString line = QString::fromUtf8(sim.readLine()).trimmed();
    if (line.startsWith(lan ? "lan " : "serial "))
      endpoint = line.section(' ', 1);
    if (line == "ready")
      break;
  }
  for (auto _ : state) {
    const Outcome table = Exchange(endpoint, lan, family, dump, 0);
    const Outcome paced = Exchange(endpoint, lan, family, dump, 1);
    if (!table.Done || !paced.Done)
      state.SkipWithError("the exchange did not finish");
    state.SetIterationTime(paced.Seconds);
    state.counters["table_s"] = table.Seconds;
    state.counters["paced_s"] = paced.Seconds;
    state.counters["ratio"] = paced.Seconds > 0 ? table.Seconds / paced.Seconds : 0;
    state.counters["wall_s"] = table.WallSeconds + paced.WallSeconds;
    state.counters["bytes"] = double(paced.Bytes);
    if (!lan)
      state.counters["line_s"] = paced.Bytes * 10.0 / kBaud;
  }
  sim.kill();
  sim.waitForFinished(2000);
  QDir::setCurrent(previous);
}

void RegisterAll() {
  for (const Family &family : kFamilies)
    for (const bool lan : {true, false})
      for (const bool dump : {false, true}) {
        const std::string name = std::string(lan ? "Tcp/" : "Serial38400/") +
                                 (dump ? "Dump/" : "Connect/") + family.Name;
        benchmark::RegisterBenchmark(name.c_str(), BM_Link, family, lan, dump)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
      }
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
