// The setting-file verbs of vexactl, run as a separate process.
#include "TestSupport.h"
#include "storage/IniDeal.h"

#include <QDir>

#include <sys/stat.h>

namespace {

class VexactlVerbs : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
  QString Path(const QString &name) const { return Dir.filePath(name); }
  // Runs in the test's folder: file names are relative to it.
  ToolRun Vexactl(const QStringList &args) const { return RunVexactl(args, Dir.path()); }

  QTemporaryDir Dir;
};

const QByteArray kBadFPNorOne = "[FileInfo]\r\nType = 81\r\n\r\n"
                                "[Value]\r\n"
                                "; from the bench\r\n"
                                "VolU = 5000\r\nVolV = 2200\r\nVolW = 2200\r\nVolLine = 3810\r\n"
                                "FreqU = 5000\r\nFreqV = 5000\r\nFreqW = 5000\r\nVolLevel = 2\r\n"
                                "OutMode = 0\r\nRiseTime = 1000\r\nOutChannel = 7\r\n"
                                "AngleUV = 1200\r\nAngleUW = 2400\r\nAngleVW = 1200\r\n"
                                "WaveU = 3\r\nWaveV = 3\r\nWaveW = 3\r\nBench = 4\r\n\r\n";

} // namespace

TEST_F(VexactlVerbs, DefaultsWritesEveryKindExactly) {
  QStringList kinds = {"SetDat"};
  for (int i = 0; i < kSettingKindCount; ++i)
    kinds.append(SettingKindOf(static_cast<SettingKind>(i)).Name);
  for (const QString &kind : kinds) {
    const ToolRun run = Vexactl({"defaults", kind, "new." + kind});
    EXPECT_EQ(run.ExitCode, 0) << kind.toStdString() << run.Err.constData();
    EXPECT_EQ(
        ReadAll(Path("new." + kind)),
        ReadAll(QDir::cleanPath(QStringLiteral(VEXA_TEST_DATA "/../storage/data/New.") + kind)))
        << kind.toStdString();
  }
}

// Without --out the corrections are printed, by the group of an All file and
// for "Set.Dat" as at start-up; with it the corrected file keeps its comments
// and foreign items, and has nothing left to correct.
TEST_F(VexactlVerbs, CheckPrintsAndWritesWhatTheModelCorrects) {
  WriteAll(Path("bench.FPNorOne"), kBadFPNorOne);
  WriteAll(Path("a.FCNorAll"), "[FileInfo]\r\nType = 64\r\n\r\n[G3Value]\r\nFreq = 700\r\n\r\n");
  WriteAll(Path("Bad.Dat"),
           "[FileInfo]\r\nType = 128\r\n\r\n[Value]\r\nCommTypeLAN_Port = 70000\r\n\r\n");
  const std::pair<QStringList, QByteArray> cases[] = {
      {{"check", "bench.FPNorOne"},
       "Value.VolU: 5000 -> 2200\nValue.RiseTime: 1000 -> 0\nValue.WaveU: 3 -> 0\n"
       "Value.WaveV: 3 -> 0\nValue.WaveW: 3 -> 0\n"},
      {{"--model", "FPA", "check", "bench.FPNorOne"},
       "Value.VolU: 5000 -> 2200\nValue.RiseTime: 1000 -> 0\n"},
      {{"--model", "fct", "check", "bench.FPNorOne"}, ""},
      {{"--model", "FCT", "check", "a.FCNorAll"}, "G3Value.Freq: 700 -> 500\n"},
      {{"check", "Bad.Dat"}, "Value.CommTypeLAN_Port: 70000 -> 0\n"},
  };
  for (const auto &[args, printed] : cases) {
    const ToolRun run = Vexactl(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
    EXPECT_EQ(run.Out, printed) << args.join(' ').toStdString();
  }
  ASSERT_EQ(
      Vexactl({"--model", "FPA", "check", "bench.FPNorOne", "--out", "fixed.FPNorOne"}).ExitCode,
      0);
  QByteArray expected = kBadFPNorOne;
  expected.replace("VolU = 5000", "VolU = 2200").replace("RiseTime = 1000", "RiseTime = 0");
  EXPECT_EQ(ReadAll(Path("fixed.FPNorOne")), expected);
  EXPECT_EQ(ReadAll(Path("bench.FPNorOne")), kBadFPNorOne);
  EXPECT_EQ(Vexactl({"--model", "FPA", "check", "fixed.FPNorOne"}).Out, QByteArray());
}

TEST_F(VexactlVerbs, ExitCodesAndMessages) {
  WriteAll(Path("typed.x"), "[FileInfo]\r\nType = 129\r\n\r\n");
  WriteAll(Path("untyped.x"), "[Value]\r\nVolU = 1\r\n\r\n");
  WriteAll(Path("ok.StepAll"), "[FileInfo]\r\nType = 82\r\n\r\n");
  // A FIFO, a folder and a device are called what they are and never
  // replaced by a file.
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
  ASSERT_TRUE(QDir(Dir.path()).mkdir("folder"));
  struct Case {
    QStringList Args;
    int ExitCode;
    const char *Says;
  };
  // clang-format off
  const Case cases[] = {
      {{"check", "missing.FPNorAll"}, 1, "no such file"}, {{"check", "typed.x"}, 1, "Type 129"},
      {{"check", "untyped.x"}, 1, "no FileInfo/Type"},
      {{"check", "fifo"}, 1, "is a FIFO"}, {{"check", "folder"}, 1, "is a folder"},
      {{"check", "/dev/null"}, 1, "is a device"},
      {{"check", "ok.StepAll", "--out", "fifo"}, 1, "is a FIFO, not replaced"},
      {{"defaults", "ListAll", "no/such/folder/x"}, 1, "cannot be written"},
      {{"check", "ok.StepAll", "--out"}, 2, ""}, {{"check", "ok.StepAll", "--quiet"}, 2, ""},
      {{"--model", "XYZ", "check", "ok.StepAll"}, 2, ""}, {{"defaults", "ListTwo", "x"}, 2, ""},
  };
  // clang-format on
  for (const Case &c : cases) {
    const ToolRun run = Vexactl(c.Args);
    EXPECT_EQ(run.ExitCode, c.ExitCode) << c.Args.join(' ').toStdString();
    EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.constData();
    EXPECT_TRUE(run.Err.startsWith("vexactl: ")) << run.Err.constData();
    EXPECT_TRUE(run.Err.contains(c.Says)) << run.Err.constData();
  }
  struct stat fifo {};
  ASSERT_EQ(::stat(QFile::encodeName(Path("fifo")).constData(), &fifo), 0);
  EXPECT_TRUE(S_ISFIFO(fifo.st_mode));
  EXPECT_EQ(Vexactl({"check", "ok.StepAll"}).ExitCode, 0);
}
