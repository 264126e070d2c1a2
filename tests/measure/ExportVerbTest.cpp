#include "MeasureTestUtil.h"

#include "records/PowerModel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <csignal>

namespace {

class ExportVerbTest : public TempDbTest {
protected:
  void SetUp() override {
    TempDbTest::SetUp();
    ASSERT_EQ(DatabaseOpenMeasureRecordByName(Path(), Info), 0);
    for (int s = 0; s < 12; s += (s == 4 ? 2 : 1)) { // no row at start + 5
      MeasureOutput m{};
      for (int i = 0; i < kMeasureQuantities * kMeasurePhases; ++i)
        m.Value[static_cast<size_t>(i)] = 1000 * s + 37 * i;
      ASSERT_EQ(DatabaseMeasureSaveNewRecord("GS-3100", kModelGS, 0, Info, AddSeconds(Start, s), m),
                0);
    }
  }
  void TearDown() override { DatabaseClose(Info); }

  QStringList Args(const QString &items, const QString &step, bool chinese) const {
    QStringList args{"export",     "--db",  Path(),          "--start", "2025-07-08 09:10:11",
                     "--duration", "9",     "--step",        step,      "--items",
                     items,        "--csv", File("tool.csv")};
    if (chinese)
      args << "--chinese";
    return args;
  }

  const DateTime Start = MakeTime(2025, 7, 8, 9, 10, 11);
  DatabaseInfo Info;
};

// The tool writes byte for byte what the panel's export writes.
TEST_F(ExportVerbTest, WritesWhatThePanelWrites) {
  const std::tuple<const char *, int32_t, bool> cases[] = {{"11111111", 1, false},
                                                           {"00000001", 2, true}};
  for (const auto &[selected, step, chinese] : cases) {
    std::array<int32_t, kExportItemCount> items{};
    for (size_t i = 0; i < items.size(); ++i)
      items[i] = selected[i] == '1';
    ASSERT_EQ(DatabaseRecordWriteToFileCvs(File("panel.csv"), items, Info, Start, 9, step,
                                           chinese ? 1 : 0),
              0);
    const ToolRun r = RunVexactl(Args(selected, QString::number(step), chinese));
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
    const std::string panel = ReadFile(File("panel.csv"));
    EXPECT_EQ(ReadFile(File("tool.csv")), panel);
    EXPECT_GT(std::count(panel.begin(), panel.end(), '\n'), 4);
  }
}

// A valid command with one option changed or left out (nullptr) exits 2 with
// one line; the usage is checked before the database is looked at.
TEST_F(ExportVerbTest, UsageErrorsExitTwoWithOneLine) {
  const std::pair<const char *, const char *> cases[] = {
      {"--bogus", "1"},
      {"--csv", nullptr},
      {"--start", "2025-02-30 09:10:11"},
      {"--step", "1s"},
      {"--start", "1999-12-31 23:59:59"},
      {"--items", "00000000"},
  };
  for (const auto &[option, value] : cases) {
    QStringList args = Args("11111111", "1", false);
    args[2] = "/nonexistent/Measure.mdb";
    const qsizetype at = args.indexOf(option);
    if (at < 0)
      args << option << value;
    else if (value)
      args[at + 1] = value;
    else
      args.remove(at, 2);
    const ToolRun r = RunVexactl(args);
    EXPECT_EQ(r.ExitCode, 2) << option;
    EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.startsWith("vexactl: ")) << r.Err.toStdString();
  }
}

// The history graph's buckets as text, worked out by hand from the rows
// (U = 100 s V, V = U + 3.7 V, W = U + 7.4 V at second s; no row at s = 5).
TEST_F(ExportVerbTest, TrendPrintsTheGraphsBuckets) {
  const QStringList args{"trend",  "--db", Path(),   "--start", "2025-07-08 09:10:11",
                         "--span", "11",   "--item", "0",       "--points"};
  ToolRun r = RunVexactl(args + QStringList{"4"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
  EXPECT_EQ(
      r.Out.toStdString(),
      "Time,Rows,U_min,U_mean,U_max,V_min,V_mean,V_max,W_min,W_mean,W_max\n"
      "2025-07-08 09:10:11,3,0.0,100.000,200.0,3.7,103.700,203.7,7.4,107.400,207.4\n"
      "2025-07-08 09:10:14,2,300.0,350.000,400.0,303.7,353.700,403.7,307.4,357.400,407.4\n"
      "2025-07-08 09:10:17,3,600.0,700.000,800.0,603.7,703.700,803.7,607.4,707.400,807.4\n"
      "2025-07-08 09:10:20,2,900.0,950.000,1000.0,903.7,953.700,1003.7,907.4,957.400,1007.4\n");
  r = RunVexactl(args + QStringList{"12"}); // one second a point
  EXPECT_TRUE(r.Out.contains("\n2025-07-08 09:10:16,0,,,,,,,,,\n")) << r.Out.toStdString();
  EXPECT_EQ(r.Out.count('\n'), 13);
}

// A missing database is not created, an unreadable one is not set aside, and
// the database's own file, under another name, is never written over.
TEST_F(ExportVerbTest, ExportsThatCannotRunExitOneAndTouchNothing) {
  const QString old = File("Old.mdb");
  WriteAll(old, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19) + QByteArray(500, 'q'));
  ASSERT_TRUE(QFile::link(Path(), File("alias.csv")));
  const qint64 size = QFileInfo(Path()).size();
  const std::tuple<QString, QString, const char *> cases[] = {
      {File("Other.mdb"), File("tool.csv"), ""},
      {old, File("tool.csv"), ""},
      {Path(), File("alias.csv"), "measurement database itself"},
      {Path(), Dir.Path() + "/./" + kMeasureDatabaseFile, "measurement database itself"},
  };
  for (const auto &[db, csv, says] : cases) {
    QStringList args = Args("11111111", "1", false);
    args[2] = db;
    args.last() = csv;
    const ToolRun r = RunVexactl(args);
    EXPECT_EQ(r.ExitCode, 1) << csv.toStdString();
    EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(says)) << r.Err.toStdString();
  }
  std::array<int32_t, kExportItemCount> items{1};
  EXPECT_EQ(DatabaseRecordWriteToFileCvs(File("alias.csv"), items, Info, Start, 9, 1, 0), -1);
  EXPECT_EQ(QFileInfo(Path()).size(), size);
  EXPECT_EQ(ReadFile(old).size(), 519u);
  EXPECT_EQ(Dir.Files(), (QStringList{"Measure.mdb", "Old.mdb", "alias.csv"}));
}

// Ctrl-C ends an export of a huge range (even when the shell started it with
// SIGINT ignored) and leaves no partial CSV.
TEST_F(ExportVerbTest, AnInterruptedExportEndsAndLeavesNoCsv) {
  QStringList args = Args("11111111", "1", false);
  args[args.indexOf("--duration") + 1] = "2000000000";
  QProcess tool;
  tool.setChildProcessModifier([] { std::signal(SIGINT, SIG_IGN); });
  tool.start(VEXA_BINARY_DIR "/tools/vexactl", args);
  ASSERT_TRUE(tool.waitForStarted(10000));
  QDeadlineTimer deadline(30000);
  // The export writes into an unnamed temporary file in the CSV's folder
  // until it is done: wait until the tool holds one open.
  const auto exporting = [&] {
    const QDir fd(QString("/proc/%1/fd").arg(tool.processId()));
    for (const QString &n : fd.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
      if (QFileInfo(fd.filePath(n)).symLinkTarget().startsWith(Dir.Path() + "/#"))
        return true;
    return false;
  };
  while (!exporting() && !deadline.hasExpired())
    tool.waitForFinished(20);
  ASSERT_EQ(tool.state(), QProcess::Running);
  ::kill(static_cast<pid_t>(tool.processId()), SIGINT);
  ASSERT_TRUE(tool.waitForFinished(10000));
  EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(tool.exitCode(), 128 + SIGINT);
  EXPECT_EQ(Dir.Files(), QStringList{kMeasureDatabaseFile});
}

} // namespace
