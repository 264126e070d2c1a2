// The whole road against the simulated source: powersim runs as its own
// process; the program's link runs in this process (scheduler, codecs and
// the system's ports, driven by MainTimerTick) or as vexactl.
#pragma once

#include "app/MainTimer.h"
#include "comm/CommConnect.h"
#include "comm/CommPortFunc.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include "Powersim.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

// What the link tells the user, as the GUI's hooks would show it.
class E2EHooks : public ViewHooks {
public:
  void RefreshOutputState() override {
    if (gCommInfo.PresentCmd1 == kCmdClassQuery && gCommInfo.PresentCmd2 == kQueryStatus)
      ++StatusReplies;
  }
  void DataFPFromMeasureToPanel() override { CountMeasure(); }
  void DataFCFromMeasureToPanel() override { CountMeasure(); }
  void CommConnectToPanel(int connected) override { ConnectShown = connected == 1; }
  void CommLinkLost(const std::string &, const std::string &text) override { LinkLost = text; }
  void CommRequestDropped(const std::string &text) override { Dropped = text; }

  int StatusReplies = 0;
  int MeasureReplies = 0;
  bool ConnectShown = false;
  std::string LinkLost;
  std::string Dropped;

private:
  void CountMeasure() {
    if (gCommInfo.PresentCmd1 == kCmdClassQuery && gCommInfo.PresentCmd2 != kQueryStatus)
      ++MeasureReplies;
  }
};

// The program's link in this process, on the system's ports.
class InProcessLink {
public:
  InProcessLink() {
    E2EApp();
    // A source of another model makes the connect exchange save and load
    // auto-save files in the working directory.
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(workDir_.path());
    SetHooks(&Hooks);
  }
  ~InProcessLink() {
    if (gPowerInfo.Connected == 1)
      CommConnectDeal(0);
    SetHooks(nullptr);
    QDir::setCurrent(previousDir_);
  }

  // Fresh records, the port of the endpoint ("lan" or "serial") and the
  // model assumed before the source names its own.
  void Configure(const Powersim &sim, bool lan, int32_t assumedModel = kModelFSA) {
    ResetProgramState();
    Hooks = E2EHooks{};
    PowerInfo &info = gPowerInfo;
    info.Language = 1;
    info.SoftwareAddress = 1;
    info.ModelType = assumedModel;
    if (lan) {
      const QString endpoint = sim.Endpoint("lan");
      info.CommType = kCommLAN;
      info.CommTypeLAN_IP1 = 127;
      info.CommTypeLAN_IP4 = 1;
      info.CommTypeLAN_Port = endpoint.section(':', 1).toInt();
    } else {
      const QByteArray path = sim.Endpoint("serial").toLocal8Bit();
      info.CommType = kCommRS232;
      info.CommTypeRS232Port = 1;
      info.CommTypeRS232Baudrate = 38400;
      std::copy(path.begin(), path.end(), info.CommTypeRS232Device.begin());
    }
  }

  // One tick of the program. Reply waits that the source has already
  // answered are not sat out in real time: before the tick that reads a
  // reply, the event loop runs until the expected bytes are there, or for
  // as long as the wait would have lasted.
  static void Tick() {
    QCoreApplication::processEvents();
    const CommInfo &c = gCommInfo;
    if (gPowerInfo.Connected == 1 && c.PresentValid == 1 && c.WaitCount == 0) {
      QElapsedTimer clock;
      clock.start();
      const int limitMs = (c.Interval + 1) * kMainTimerPeriodMs;
      while (Waiting() < c.RxExpectLen && clock.elapsed() < limitMs) {
        QThread::usleep(200);
        QCoreApplication::processEvents();
      }
    }
    MainTimerTick();
  }

  // Ticks until done() holds after a tick, the link is lost, or timeoutMs
  // of real time have passed. True when done() held.
  static bool RunUntil(const std::function<bool()> &done, int timeoutMs = 20000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
      if ((gPowerInfo.Connected != 1 && gCommLink.Opening != 1) || deadline.hasExpired())
        return false;
      Tick();
    }
    return true;
  }
  static bool Idle() { return gCommNewCmd.Count == 0 && gCommInfo.PresentValid == 0; }
  static bool RunUntilIdle() { return RunUntil(Idle); }

  bool Connect() {
    CommConnectDeal(1);
    return RunUntil([this] { return Hooks.ConnectShown && Idle(); });
  }

  // The next status reply after the requests queued so far.
  bool RunUntilStatus() {
    if (!RunUntilIdle())
      return false;
    const int seen = Hooks.StatusReplies;
    return RunUntil([&] { return Hooks.StatusReplies > seen; });
  }

  E2EHooks Hooks;

private:
  static int Waiting() {
    const PowerInfo &info = gPowerInfo;
    return info.CommType == kCommLAN ? PortLanInQLen(info.LanHandle)
                                     : PortUartInQLen(info.CommTypeRS232Port);
  }

  QTemporaryDir workDir_;
  QString previousDir_;
};

struct ToolRun {
  int ExitCode = -1;
  QString Out;
  QString Err;
};

// Starts vexactl. "{lan}" and "{serial}" in the arguments stand for
// powersim's endpoints, and the stand-in GPIB driver is set to reach its
// "gpib" endpoint.
inline void StartVexactl(QProcess &process, QStringList args, const Powersim *sim = nullptr) {
  E2EApp();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (sim != nullptr) {
    for (QString &arg : args)
      for (const char *name : {"lan", "serial"})
        arg.replace(QString("{%1}").arg(name), sim->Endpoint(name));
    environment.insert("VEXA_GPIB_LIBRARY", VEXA_GPIB_STUB);
    environment.insert("VEXA_GPIB_SIM", sim->Endpoint("gpib"));
  }
  process.setProcessEnvironment(environment);
  process.start(VEXACTL_EXE, args);
}

// Waits for a started vexactl to end.
inline ToolRun FinishVexactl(QProcess &process, int timeoutMs = 120000) {
  ToolRun run;
  if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    process.waitForFinished(1000);
  } else {
    run.ExitCode = process.exitCode();
  }
  run.Out = QString::fromUtf8(process.readAllStandardOutput());
  run.Err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// Runs vexactl to its end (in real time: its own 50 ms timer).
inline ToolRun Vexactl(const QStringList &args, const Powersim *sim = nullptr) {
  QProcess process;
  StartVexactl(process, args, sim);
  return FinishVexactl(process);
}
