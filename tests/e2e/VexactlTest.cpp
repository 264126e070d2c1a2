// The device verbs of vexactl against powersim, in real time over TCP, the
// pseudo-terminal and the stand-in GPIB driver. What a verb wrote to the
// source is read back by another verb.
#include "E2ESupport.h"

#include "storage/IniDeal.h"
#include "storage/SoftSet.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>

#include <csignal>
#include <memory>

namespace {

// One source on all three ports: each names it the same way.
TEST(Vexactl, IdentifyPrintsTheIdentifierModelAndRatingOnEveryPort) {
  Powersim sim({"--model", "FCT", "--rating", "10", "--serial", "--gpib"});
  ASSERT_TRUE(sim.Ready());
  for (const QStringList &port :
       {QStringList{"--serial", "{serial}"}, {"--lan", "{lan}"}, {"--gpib", "7"}}) {
    const ToolRun run = Vexactl(port + QStringList{"--fast", "identify"}, &sim);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, sim.Identifier().trimmed() + " ModelType=16 Rating=10\n");
  }
}

// What goes wrong, and the exit code and message it gives.
struct FailureCase {
  const char *Name;
  QStringList Sim; // powersim's options; empty: no powersim
  QStringList Args;
  int ExitCode;
  const char *Message;
};

class VexactlFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(VexactlFailure, EndsWithItsExitCodeAndOneLine) {
  const FailureCase &c = GetParam();
  std::unique_ptr<Powersim> sim;
  if (!c.Sim.isEmpty()) {
    sim = std::make_unique<Powersim>(c.Sim);
    ASSERT_TRUE(sim->Ready());
  }
  QStringList args = c.Args;
  if (args.contains("{closed}")) {
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    args.replaceInStrings("{closed}", QString("127.0.0.1:%1").arg(gone.serverPort()));
  }
  QTemporaryDir dir;
  if (args.contains("{stepfile}")) {
    ResetProgramState();
    SettingApplyDefaults(SettingKind::StepAll, 0);
    SettingFileWrite(SettingKind::StepAll, dir.filePath("a.StepAll"));
    args.replaceInStrings("{stepfile}", dir.filePath("a.StepAll"));
  }
  const ToolRun run = Vexactl(args, sim.get());
  EXPECT_EQ(run.ExitCode, c.ExitCode);
  EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
  if (c.ExitCode != 2) {
    EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.toStdString();
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, VexactlFailure,
    ::testing::Values(
        FailureCase{"NoPort", {}, {"identify"}, 2, "give one of --lan"},
        FailureCase{"OutputNeitherOnNorOff", {}, {"--lan", "{closed}", "output", "up"}, 2, "on or off"},
        FailureCase{"NothingListens", {}, {"--lan", "{closed}", "identify"}, 3,
                    "the connection was refused"},
        FailureCase{"SourceNeverAnswers", {"--model", "FSA", "--serial", "--silent", "100"},
                    {"--serial", "{serial}", "identify"}, 3,
                    "No power source answered at serial port /dev/"},
        FailureCase{"OutputOnDuringAnAlarm", {"--model", "FSA", "--serial", "--alarm", "300"},
                    {"--serial", "{serial}", "output", "on"}, 1, "refused \"output on (0F FF)\""},
        FailureCase{"FileOfAnotherFamily", {"--model", "FSA", "--serial"},
                    {"--serial", "{serial}", "load", "{stepfile}"}, 1,
                    "a.StepAll: a StepAll file does not fit the FSA source"}),
    [](const auto &info) { return std::string(info.param.Name); });
// clang-format on

// A field of the records a setting file fills, at an index.
struct LoadedField {
  SettingKind One, All; // the file loaded, the dumped file that holds it
  int32_t &(*Field)(int index);
  int32_t Value;
};

const LoadedField kLoaded[] = {
    {SettingKind::FPNorOne, SettingKind::FPNorAll,
     [](int i) -> int32_t & { return gNormalFPSet[i].VolU; }, 1234},
    {SettingKind::StepAll, SettingKind::StepAll,
     [](int) -> int32_t & { return gStepSet.VolStartU; }, 1111},
};

// Files loaded into the source come back in the auto-save files a dump
// writes; the output verbs wait for the source's status in between.
TEST(Vexactl, LoadOutputAndDumpAgainstTheSource) {
  QTemporaryDir dir;
  QStringList files;
  for (const LoadedField &loaded : kLoaded) {
    ResetProgramState();
    gPowerInfo.ModelType = kModelGS;
    SettingApplyDefaults(loaded.One, 3);
    loaded.Field(3) = loaded.Value;
    files << dir.filePath(QString("loaded.") + SettingKindOf(loaded.One).Name);
    SettingFileWrite(loaded.One, files.back(), 3);
  }
  Powersim sim({"--model", "GS", "--serial"});
  ASSERT_TRUE(sim.Ready());
  const QStringList port{"--serial", "{serial}", "--fast"};
  ToolRun run = Vexactl(port + QStringList{"load", "--index", "3"} + files, &sim);
  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out.count(" written\n"), files.size()) << run.Out.toStdString();
  for (const char *state : {"on", "off"}) {
    run = Vexactl(port + QStringList{"output", state}, &sim);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(sim.Control("state").contains(QString(" output %1 ").arg(state)));
  }

  const QDir out(dir.filePath("dump"));
  run = Vexactl(port + QStringList{"dump", out.path()}, &sim);
  ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  QStringList written;
  for (const char *kind : {"FPNorAll", "StepAll", "ListAll", "RampAll", "CrossAll", "THDAll"})
    written << out.filePath(QString("AutoSaveGS.") + kind);
  EXPECT_EQ(run.Out.split('\n', Qt::SkipEmptyParts), written);
  ResetProgramState();
  gPowerInfo.ModelType = kModelGS;
  for (const LoadedField &loaded : kLoaded) {
    const char *name = SettingKindOf(loaded.All).Name;
    EXPECT_EQ(SettingFileRead(loaded.All, out.filePath(QString("AutoSaveGS.") + name)), 1);
    EXPECT_EQ(loaded.Field(3), loaded.Value) << name;
  }
}

// The seconds (since 2000) of the rows stored with a voltage, in order.
std::vector<int> StoredSeconds(const QString &path) {
  std::vector<int> seconds;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "e2e-rows");
    db.setDatabaseName(path);
    if (db.open()) {
      QSqlQuery query("SELECT TimeVar FROM MeasureRecord WHERE Ua > 0 ORDER BY TimeVar", db);
      while (query.next())
        seconds.push_back(query.value(0).toInt());
    }
  }
  QSqlDatabase::removeDatabase("e2e-rows");
  return seconds;
}

// "hh:mm:ss U <value unit>... | V ... | W ...": the voltage of phase U.
double LineVoltage(const QString &line) { return line.section(' ', 2, 2).toDouble(); }

// Reads a running vexactl's standard error until it holds text n times.
bool ErrorsUntil(QProcess &tool, QString &err, const QString &text, int n) {
  QDeadlineTimer deadline(30000);
  while (err.count(text) < n && !deadline.hasExpired() && tool.state() != QProcess::NotRunning)
    if (tool.waitForReadyRead(100))
      err += QString::fromUtf8(tool.readAllStandardError());
  return err.count(text) >= n;
}

// Watching with --on and --reconnect: a line per second with the three
// phases; the dropped link comes back and rows are stored again, with a gap
// only where the link was down; a source of another model answering after a
// drop is not taken on, and the rows stay.
TEST(Vexactl, WatchReconnectsButNotToAnotherModel) {
  auto first = std::make_unique<Powersim>(QStringList{"--model", "GS"});
  ASSERT_TRUE(first->Ready());
  const QString lan = first->Endpoint("lan");
  QTemporaryDir dir;
  const QString db = dir.filePath("Measure.mdb");
  QProcess watch;
  StartVexactl(watch, {"--lan", lan, "--fast", "watch", "--seconds", "300", "--on", "--reconnect",
                       "--db", db});
  QString err;
  // Three seconds of rows, the link dropped; three times, then rows again.
  for (int drop = 0; drop <= 3; ++drop) {
    ASSERT_TRUE(ErrorsUntil(watch, err, "reconnected to", drop)) << err.toStdString();
    const size_t rows = StoredSeconds(db).size();
    QDeadlineTimer rowsDeadline(20000);
    while (StoredSeconds(db).size() < rows + 3 && !rowsDeadline.hasExpired())
      watch.waitForReadyRead(200);
    if (drop < 3) {
      EXPECT_EQ(first->Control("drop"), "ok dropped");
    }
  }
  EXPECT_TRUE(err.contains("the connection. Reconnecting in 2 s (attempt 1). (Ctrl-C stops)"))
      << err.toStdString();
  // The loss seen at once (the source closed the connection), 2 s to the
  // attempt, the connect exchange: a gap a drop, no longer than that.
  const std::vector<int> seconds = StoredSeconds(db);
  ASSERT_GE(seconds.size(), 12u);
  int gaps = 0;
  for (size_t i = 1; i < seconds.size(); ++i) {
    gaps += seconds[i] - seconds[i - 1] > 1 ? 1 : 0;
    EXPECT_LE(seconds[i] - seconds[i - 1], 10) << "row " << i;
  }
  EXPECT_EQ(gaps, 3);

  first.reset();
  Powersim other({"--model", "FPA", "--lan", lan});
  ASSERT_TRUE(other.Ready());
  const ToolRun run = FinishVexactl(watch, 30000);
  EXPECT_EQ(run.ExitCode, 3);
  EXPECT_TRUE(
      (err + run.Err)
          .contains(QRegularExpression(
              "A different power source answered at .*: QXFP.* instead of QXGS.*Not connected")))
      << run.Err.toStdString();
  EXPECT_TRUE(other.Control("state").contains(" output off "));
  EXPECT_GE(StoredSeconds(db).size(), seconds.size());
  const QStringList lines = run.Out.split('\n', Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 1);
  EXPECT_EQ(lines.back().split(" | ").size(), 3) << lines.back().toStdString();
  EXPECT_NEAR(LineVoltage(lines.back()), 220.0, 0.5) << lines.back().toStdString();
}

// A stop signal ends a device verb during the connect exchange with a source
// that never answers; the session folder goes with it (the one a killed run
// leaves behind is the kill test's).
TEST(Vexactl, StopSignalsEndDeviceVerbsAndLeaveNoSessionFolder) {
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  QTemporaryDir runtime;
  QTemporaryDir dumpDir;
  const std::pair<QStringList, int> cases[] = {
      {{"watch"}, SIGINT}, {{"identify"}, SIGTERM}, {{"dump", dumpDir.path()}, SIGHUP}};
  for (const auto &[verb, signal] : cases) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    tool.setProcessEnvironment(environment);
    tool.start(VEXACTL_EXE,
               QStringList{"--lan", QString("127.0.0.1:%1").arg(silent.serverPort())} + verb);
    ASSERT_TRUE(silent.waitForNewConnection(10000));
    std::unique_ptr<QTcpSocket> link(silent.nextPendingConnection());
    ASSERT_TRUE(link->waitForReadyRead(10000)); // the model query
    ::kill(static_cast<pid_t>(tool.processId()), signal);
    ASSERT_TRUE(tool.waitForFinished(10000)) << signal;
    EXPECT_EQ(tool.exitCode(), 128 + signal) << signal;
    EXPECT_EQ(QDir(runtime.path()).entryList({"vexactl-session-*"}, QDir::Dirs), QStringList())
        << signal;
  }
}

} // namespace
