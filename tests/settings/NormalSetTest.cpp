#include "settings/NormalSet.h"
#include "FieldList.h"
#include "records/Globals.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// A check case: the record starts from the defaults, gets `set`, is checked
// with the rules of `model` and must then hold `expect`.
struct CheckCase {
  const char *Name;
  int Model;
  const char *Set;
  const char *Expect;
};

// clang-format off
const CheckCase kFPCases[] = {
    {"defaults untouched", kModelFPA, "", "VolU=2200 VolLine=3810"},
    // Voltages: U and the line voltage are reset together.
    {"VolU 3000 kept", kModelFPA, "VolU=3000 VolLine=5196", "VolU=3000 VolLine=5196"},
    {"VolU 3001", kModelFPA, "VolU=3001 VolLine=1000", "VolU=2200 VolLine=3810 VolV=2200"},
    {"VolU -1", kModelGS, "VolU=-1", "VolU=2200 VolLine=3810"},
    {"VolW 3001 in mode 1", kModelFSB, "OutMode=1 VolW=3001 VolLevel=2", "VolW=2200"},
    {"VolLine 5197", kModelFPA, "OutMode=1 VolU=1000 VolLine=5197", "VolU=2200 VolLine=3810"},
    {"FL copies U to V and W", kModelFL, "VolV=100 VolW=3001", "VolV=2200 VolW=2200"},
    // Output modes by family.
    {"FSA mode 5", kModelFSA, "OutMode=5", "OutMode=5"},
    {"FSA mode 16", kModelFSA, "OutMode=16", "OutMode=0"},
    {"FSB mode 5", kModelFSB, "OutMode=5", "OutMode=0"},
    {"FPA mode 16", kModelFPA, "OutMode=16", "OutMode=16"},
    {"FPB mode 16", kModelFPB, "OutMode=16", "OutMode=16"},
    {"mode 2", kModelFPA, "OutMode=2", "OutMode=0"},
    // Range codes.
    {"FPA mode 0 level 1 moves to 2, keeps 220 V", kModelFPA, "VolLevel=1", "VolLevel=2 VolU=2200 VolLine=3810"},
    {"FPA mode 1 level 3", kModelFPA, "OutMode=1 VolLevel=3", "VolLevel=2"},
    {"FPB level 3", kModelFPB, "VolLevel=3", "VolLevel=2"},
    {"FSB level 0", kModelFSB, "VolLevel=0", "VolLevel=2"},
    {"FL level 3", kModelFL, "VolLevel=3", "VolLevel=3"},
    {"FL level 1", kModelFL, "VolLevel=1", "VolLevel=2 VolU=2200"},
    // Low range caps.
    {"FPB mode 1 VolLine 2599", kModelFPB, "OutMode=1 VolLevel=1 VolU=1000 VolLine=2599 VolV=1000 VolW=1000", "VolLine=2598 VolU=1500 VolV=1000"},
    // Frequencies.
    {"FPA FreqU 24000", kModelFPA, "FreqU=24000", "FreqU=24000 FreqW=24000"},
    {"FPA FreqU 24001", kModelFPA, "FreqU=24001", "FreqU=5000"},
    {"FSA FreqU 4499", kModelFSA, "FreqU=4499", "FreqU=5000"},
    {"FPA mode 1 keeps per-phase frequencies", kModelFPA, "OutMode=1 FreqV=6000 FreqW=24001", "FreqU=5000 FreqV=6000 FreqW=5000"},
    {"GS FreqU 6501", kModelGS, "FreqU=6501", "FreqU=5000"},
    {"GS mode 0 keeps per-phase frequencies", kModelGS, "FreqV=6000 FreqW=6501", "FreqV=6000 FreqW=5000"},
    {"FL copies FreqU", kModelFL, "FreqU=6000 FreqV=7000", "FreqV=6000 FreqW=6000"},
    // Rise time and angles.
    {"RiseTime 999", kModelFPA, "RiseTime=999", "RiseTime=999"},
    {"RiseTime 1000", kModelFPA, "RiseTime=1000", "RiseTime=0"},
    {"angles 3599 kept", kModelFPA, "AngleUV=3599 AngleVW=3599 AngleUW=3599", "AngleUV=3599 AngleVW=3599 AngleUW=3599"},
    {"angles 3600", kModelFSA, "AngleUV=3600 AngleVW=3600 AngleUW=3600", "AngleUV=1200 AngleVW=1200 AngleUW=2400"},
    {"mode 16 derives AngleVW", kModelFPA, "OutMode=16 AngleUV=2400 AngleUW=1200 AngleVW=0", "AngleVW=2400"},
    {"GS mode 16 derives from corrected angles", kModelGS, "OutMode=16 AngleUV=3600 AngleUW=300", "AngleUV=1200 AngleVW=2700"},
    // Balanced modes: phases follow U, the line voltage tolerates 1.
    {"line 3808 corrected", kModelFPA, "VolLine=3808", "VolLine=3810"},
    {"line 3809 kept", kModelFPA, "VolLine=3809", "VolLine=3809"},
    {"line 3812 corrected", kModelFSA, "VolLine=3812", "VolLine=3810"},
    {"mode 5 copies U", kModelFPA, "OutMode=5 VolV=100 FreqW=6000", "VolV=2200 FreqW=5000"},
    {"mode 16 leaves the line voltage", kModelFPA, "OutMode=16 VolLine=3000 VolV=100", "VolLine=3000 VolV=100"},
    // Waveforms.
    {"FSA waveform always sine", kModelFSA, "WaveU=3 WaveW=1", "WaveU=0 WaveW=0"},
    {"FPA waveform 11", kModelFPA, "WaveU=11", "WaveU=0"},
    {"FPA 65.01 Hz clears every waveform", kModelFPA, "FreqU=6501 WaveU=3 WaveV=2 WaveW=1", "WaveU=0 WaveV=0 WaveW=0"},
    {"FPA 100 Hz with sine on U keeps V", kModelFPA, "FreqU=10000 WaveU=0 WaveV=3", "WaveV=3"},
    {"FPB mode 1 judges each phase", kModelFPB, "OutMode=1 WaveU=3 FreqV=10000 WaveV=3 FreqW=4499 WaveW=3", "WaveU=3 WaveV=0 FreqW=5000 WaveW=3"},
    {"FPA mode 0 FreqV out of band copied first", kModelFPA, "FreqV=10000 WaveV=3", "FreqV=5000 WaveV=3"},
    // Phase selection.
    {"mode 1 channel 0 kept", kModelFPA, "OutMode=1 OutChannel=0", "OutChannel=0"},
    {"mode 1 channel 8", kModelFPA, "OutMode=1 OutChannel=8", "OutChannel=7"},
    {"mode 0 channel 3", kModelFPA, "OutChannel=3", "OutChannel=7"},
};
const CheckCase kFCCases[] = {
    {"Freq 450", 1, "Freq=450", "Freq=450"},
    {"Freq 449", 1, "Freq=449", "Freq=500"},
    {"Freq 651", 1, "Freq=651", "Freq=500"},
    {"Freq 1200", 0, "Freq=1200", "Freq=1200"},
    {"Freq 2400", 1, "Freq=2400", "Freq=2400"},
    {"Freq 2401", 1, "Freq=2401", "Freq=500"},
    {"Vol 10", 1, "Vol=10 VolLine=17", "Vol=10 VolLine=17"},
    {"Vol 9", 1, "Vol=9 VolLine=17", "Vol=2200 VolLine=3810"},
    {"VolLine 16", 1, "Vol=100 VolLine=16", "Vol=2200 VolLine=3810"},
    {"VolLine 5197", 1, "Vol=3000 VolLine=5197", "Vol=2200 VolLine=3810"},
    {"VolLevel 0", 1, "VolLevel=0", "VolLevel=0"},
    {"VolLevel 2", 1, "VolLevel=2", "VolLevel=1"},
    {"FCT mode 4", 1, "OutMode=4", "OutMode=4"},
    {"FCT mode 1", 1, "OutMode=1", "OutMode=0"},
    {"FCS mode 0", 0, "OutMode=0", "OutMode=5"},
    {"FCS mode 5", 0, "OutMode=5", "OutMode=5"},
    {"UpUPer 4", 1, "UpUPer=4", "UpUPer=5"},
    {"UpUPer 31", 1, "UpUPer=31", "UpUPer=5"},
    {"DownUPer 31", 1, "DownUPer=31 UpUPer=12", "DownUPer=5 UpUPer=12"},
};
// clang-format on

// Each case on the default groups: the group must hold what it expects, and
// the check says whether it changed it. The FC table's model: 1 the FCT
// rules, 0 the FCS rules.
TEST(NormalCheck, CorrectsTheGroup) {
  const auto expectCheck = [](const CheckCase &c, auto &group, auto check) {
    SCOPED_TRACE(c.Name);
    ResetProgramState();
    DataFPInitNormalAll();
    DataFCInitAll();
    SetFields(group, c.Set);
    const auto before = group;
    const int changed = check();
    EXPECT_TRUE(HasFields(group, c.Expect));
    EXPECT_EQ(changed, Differs(before, group));
  };
  for (const CheckCase &c : kFPCases)
    expectCheck(c, gNormalFPSet[3], [&] { return DataFPNormalCheckOneByModel(c.Model, 3); });
  for (const CheckCase &c : kFCCases)
    expectCheck(c, gNormalFCSet[6], [&] { return DataFCCheckOne(c.Model, 6); });
}

// A reset (a missing setting file) puts every default back over what a group
// held.
TEST(NormalCheck, ResetPutsBackTheDefaults) {
  ResetProgramState();
  SetFields(gNormalFPSet[9], "OutMode=16 OutChannel=2 VolU=1000 FreqU=6000 WaveU=3 AngleUV=0");
  DataFPInitNormalAll();
  EXPECT_TRUE(HasFields(gNormalFPSet[9], "OutMode=0 OutChannel=7 VolU=2200 VolLine=3810 "
                                         "FreqU=5000 WaveU=0 AngleUV=1200"));
}

// The system fields through the FC rules (which also judge StartRise) and
// the rules of the other families.
TEST(NormalCheckAll, SystemFields) {
  const struct {
    const char *Set, *FC, *FP;
  } cases[] = {
      {"UDisMode=1", "UDisMode=1", "UDisMode=1"},
      {"UDisMode=2", "UDisMode=0", "UDisMode=0"},
      {"UCompensation=5000", "UCompensation=5000", "UCompensation=5000"},
      {"UCompensation=5001", "UCompensation=0", "UCompensation=0"},
      {"StartRise=999", "StartRise=999", "StartRise=999"},
      {"StartRise=1000", "StartRise=0", "StartRise=1000"},
      {"IfKeySound=0", "IfKeySound=0", "IfKeySound=0"},
      {"IfKeySound=2", "IfKeySound=1", "IfKeySound=1"},
      {"OCP_Define=-5", "OCP_Define=-5", "OCP_Define=-5"},
  };
  for (const auto &c : cases) {
    ResetProgramState();
    DataFCInitAll();
    DataFCCheckAll(1);
    SetFields(gSystemSet, c.Set);
    SystemSet before = gSystemSet;
    const int changedFC = DataFCCheckAll(1);
    EXPECT_EQ(changedFC, Differs(before, gSystemSet)) << c.Set;
    EXPECT_TRUE(HasFields(gSystemSet, c.FC));

    ResetProgramState();
    DataFPInitNormalAll();
    SetFields(gSystemSet, c.Set);
    before = gSystemSet;
    const int changedFP = DataGSNormalCheckAll();
    EXPECT_EQ(changedFP, Differs(before, gSystemSet)) << c.Set;
    EXPECT_TRUE(HasFields(gSystemSet, c.FP));
  }
}

// One group probed with every model code: the result tells which rules ran.
TEST(NormalCheckByModel, PicksTheFamilyRoutine) {
  const struct {
    int Model;
    const char *Expect;
    int Changed;
  } cases[] = {
      {kModelFSA, "OutMode=5 VolLevel=3 WaveU=0 FreqV=6000", 1},
      {kModelFSB, "OutMode=0 VolLevel=2 WaveU=0 FreqV=6000", 1},
      {kModelFPA, "OutMode=5 VolLevel=3 WaveU=3 FreqV=6000", 1},
      {kModelFPB, "OutMode=0 VolLevel=2 WaveU=3 FreqV=6000", 1},
      {kModelGS, "OutMode=0 VolLevel=2 WaveU=3 FreqV=5000", 1},
      {kModelFL, "OutMode=0 VolLevel=3 WaveU=0 FreqV=6000", 1},
      {kModelFCS, "OutMode=5 VolLevel=3 WaveU=3 FreqV=7000", 0},
      {0, "OutMode=5 VolLevel=3 WaveU=3 FreqV=7000", 0},
  };
  for (const auto &c : cases) {
    for (const bool all : {false, true}) {
      ResetProgramState();
      DataFPInitNormalAll();
      // All groups are checked, the first as the last.
      for (const int group : {2, 0, 9})
        SetFields(gNormalFPSet[group],
                  "OutMode=5 VolLevel=3 FreqU=6000 FreqV=7000 FreqW=6000 WaveU=3");
      const int changed =
          all ? DataFPNormalCheckAllByModel(c.Model) : DataFPNormalCheckOneByModel(c.Model, 2);
      EXPECT_EQ(changed, c.Changed) << c.Model;
      for (const int group : all ? std::vector{0, 9} : std::vector{2})
        EXPECT_TRUE(HasFields(gNormalFPSet[group], c.Expect)) << c.Model << " " << group;
    }
  }
}

TEST(NormalCheckByModel, FCFilesAlwaysUseTheFCRules) {
  const std::pair<int, int> cases[] = {{kModelFCT, 0}, {kModelFCS, 5}, {kModelFPA, 5}, {0, 5}};
  for (const auto &[model, mode] : cases) {
    ResetProgramState();
    DataFCInitAll();
    DataFCCheckAllByModel(model);
    EXPECT_EQ(gNormalFCSet[4].OutMode, mode) << model;
    gNormalFCSet[2].OutMode = 3;
    DataFCCheckOneByModel(model, 2);
    EXPECT_EQ(gNormalFCSet[2].OutMode, mode == 0 ? 3 : 5) << model;
  }
  ResetProgramState();
  DataFCInitAll();
  DataFPInitNormalAll();
  gNormalFPSet[1].OutMode = 5;
  EXPECT_EQ(DataNormalCheckAllByModel(kModelFCS), 1);
  EXPECT_EQ(gNormalFCSet[0].OutMode, 5);
  EXPECT_EQ(gNormalFPSet[1].OutMode, 5);
  EXPECT_EQ(DataNormalCheckAllByModel(kModelFSB), 1);
  EXPECT_EQ(gNormalFPSet[1].OutMode, 0);
  EXPECT_EQ(DataNormalCheckAllByModel(99), 0);
}

} // namespace
