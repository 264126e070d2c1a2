// The check before a program download: which step and field the model's
// limits would change and to what, a program with nothing to run, the
// records left as they were; and vexactl check printing the same lines.
#include "programs/ProgramCheck.h"

#include "TestSupport.h"
#include "settings/ProgramSet.h"

#include <cstring>
#include <functional>

namespace {

struct CheckCase {
  const char *Name;
  int32_t Model;
  ProgramFindings (*Check)(int32_t);
  std::function<void()> Edit;
  const char *Text;
  bool Refused;
  int32_t Language = 1;
};

void SameFreq(ListListSet &s, int32_t freq) {
  for (ListPhase &p : s.Phase)
    p.Freq = freq;
}

TEST(ProgramCheck, NamesStepFieldAndValue) {
  // clang-format off
  const CheckCase cases[] = {
      {"a waveform at 70 Hz on FPA", kModelFPA, CheckListProgram,
       [] { SameFreq(gListListSet[3], 7000); for (ListPhase &p : gListListSet[3].Phase) p.Wave = 2; },
       "Step 3 WaveU: 2 -> 0\nStep 3 WaveV: 2 -> 0\nStep 3 WaveW: 2 -> 0\n", false},
      {"70 Hz is beyond GS", kModelGS, CheckListProgram, [] { SameFreq(gListListSet[3], 7000); },
       "Step 3 FreqU: 7000 -> 5000\nStep 3 FreqV: 7000 -> 5000\nStep 3 FreqW: 7000 -> 5000\n", false},
      {"steps in start..stop all of zero length", kModelFPB, CheckListProgram,
       [] { gListSet.StartNo = 2; gListSet.StopNo = 4;
            for (int s = 2; s <= 4; ++s) for (ListPhase &p : gListListSet[s].Phase) p.TimeS2P = 0; },
       "No step from 2 to 4 has a length: the program cannot run.\n", true},
      {"an over-voltage ramp start", kModelGS, CheckRampProgram,
       [] { gRampRampSet[0].Phase[0].VolStart = 3100; }, "Step 0 VolStartU: 3100 -> 2200\n", false},
      {"an over-voltage Cross entry", kModelGS, CheckCrossProgram,
       [] { gCrossSet[2].RatingVol = 3500; }, "Step 2 RatingVol: 3500 -> 2200\n", false},
      {"a stop entry before the start entry", kModelGS, CheckCrossProgram,
       [] { gCrossListSet.StartNo = 5; gCrossListSet.StopNo = 3; }, "StopNo: 3 -> 5\n", false},
      {"line voltages of V and W a read-back left stale", kModelFPA, CheckListProgram,
       [] { gListSet.OutMode = 0; gListListSet[5].Phase[1].VolLine = 1234; }, "", false},
      {"no Cross program on FPA", kModelFPA, CheckCrossProgram,
       [] { gCrossSet[2].RatingVol = 3500; }, "", false},
      {"a ramp program of no length, in Chinese", kModelGS, CheckRampProgram,
       [] { for (RampRampSet &s : gRampRampSet) for (RampPhase &p : s.Phase) p.TimeS2P = 0; },
       "第 0 步到第 99 步的时间都为 0，程序无法运行。\n", true, 0},
  };
  // clang-format on
  for (const CheckCase &c : cases) {
    SCOPED_TRACE(c.Name);
    ResetProgramState();
    gPowerInfo.Language = c.Language;
    DataFPInitListAll();
    DataFPInitRampAll();
    DataFPInitCrossAll();
    c.Edit();
    const SettingRecords edited = gProgram.Settings;
    const ProgramFindings findings = c.Check(c.Model);
    EXPECT_EQ(ProgramFindingsText(findings).toStdString(), c.Text);
    EXPECT_EQ(ProgramRefused(findings), c.Refused);
    EXPECT_EQ(std::memcmp(&edited, &gProgram.Settings, sizeof edited), 0) << "records changed";
    // Applied, the corrections leave nothing to find.
    ApplyProgramFindings(findings);
    if (!c.Refused) {
      EXPECT_TRUE(c.Check(c.Model).isEmpty());
    }
  }
}

// vexactl check prints the same lines for a program file: the step of an
// All file's field, none for a One file.
TEST(ProgramCheck, VexactlPrintsTheFindings) {
  QTemporaryDir dir;
  const struct {
    const char *File, *Text, *Expected;
  } cases[] = {
      {"a.CrossAll", "Type = 87\n[Value]\nStartNo = 5\nStopNo = 3\n[G2Value]\nKeepTime = 10\n",
       "StopNo: 3 -> 5\nStep 2 KeepTime: 10 -> 600\n"},
      {"a.ListOne", "Type = 84\n[Value]\nVolU = 3500\n", "VolU: 3500 -> 2200\n"},
  };
  for (const auto &c : cases) {
    const QString path = dir.filePath(c.File);
    WriteAll(path, QByteArray("[FileInfo]\n") + c.Text);
    EXPECT_EQ(RunVexactl({"--model", "GS", "check", path}).Out.toStdString(), c.Expected) << c.File;
  }
}

} // namespace
