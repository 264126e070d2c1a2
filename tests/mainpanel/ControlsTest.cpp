#include "app/MainPanelFunc.h"
#include "app/NormalPanelMap.h"
#include "programs/Arithmetic.h"

#include "FieldList.h"
#include "MainPanelTestSupport.h"

namespace {

const Queued kWriteGroup0 = Single(90, 33, 0);
const Queued kWriteSystem = Single(90, 48, 0);
const Queued kOnline0 = Single(90, 80, 0);

class FCKeys : public MainPanelTest {
protected:
  void SetUp() override {
    MainPanelTest::SetUp();
    UseFCT();
    Connect();
    DataFCFromNormalVarToPanel(panel);
  }
  NormalFCSet &Group() { return gNormalFCSet[gCurrentNormalGroup]; }
};

// Each press of a key and the group after it: every press shows and sends
// the group, except the multiplier at a free frequency, which does nothing.
TEST_F(FCKeys, KeySequences) {
  using Key = void (*)(MainPanelState &);
  struct Case {
    Key Press;
    const char *Start;
    std::vector<const char *> After; // the group after each press
  };
  const Case cases[] = {
      {FCMultiplierKey, "Freq=600", {"Freq=1200", "Freq=2400", "Freq=600"}},
      {FCMultiplierKey, "Freq=550", {"Freq=550"}},
      {FC5060Key, "Freq=500", {"Freq=600", "Freq=500"}},
      {FC5060Key, "Freq=2400", {"Freq=2000", "Freq=2400"}},
      {FC5060Key, "Freq=550", {"Freq=500"}},
      {FCPhaseKey, "OutMode=0", {"OutMode=2", "OutMode=3", "OutMode=4", "OutMode=0"}},
      {FCRangeKey, "VolLevel=1", {"VolLevel=0", "VolLevel=1"}}, // auto, high
      {FC120220Key, "Vol=2200", {"Vol=1200 VolLine=2078", "Vol=2200 VolLine=3810"}},
  };
  for (const Case &c : cases) {
    SetUp();
    SetFields(Group(), c.Start);
    const bool silent = c.Press == FCMultiplierKey && Group().Freq == 550;
    for (const char *after : c.After) {
      gCommNewCmd = {};
      c.Press(panel);
      EXPECT_TRUE(HasFields(Group(), after)) << c.Start;
      // the panel shows the group: knobs and the range lamp
      EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobFreq.Value, silent ? 50.0 : Group().Freq / 10.0)
          << c.Start;
      EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobVol.Value, Group().Vol / 10.0) << c.Start;
      EXPECT_EQ(panel.FCMiddle.LampRangeAuto.On, Group().VolLevel == 0) << c.Start;
      EXPECT_EQ(QueuedCommands(), std::vector<Queued>(silent ? 0 : 1, kWriteGroup0)) << c.Start;
    }
  }
}

TEST_F(FCKeys, KeysIgnoredWhileRunningSendNothing) {
  gPowerInfo.OutputRunning = 1;
  const NormalFCSet before = Group();
  for (auto press : {FCPhaseKey, FCRangeKey, FC5060Key, FCMultiplierKey, FC120220Key}) {
    press(panel);
  }
  panel.FCNormal.Group.Value = 3;
  FCGroupRingChanged(panel);
  FCSystemSetChanged(panel);
  EXPECT_EQ(Differs(before, Group()), 0);
  EXPECT_EQ(gCurrentNormalGroup, 0);
  EXPECT_TRUE(QueuedCommands().empty());
  EXPECT_TRUE(hooks.Messages.empty());
}

TEST_F(FCKeys, PhaseLineKeySendsSystemEvenWithoutChange) {
  struct Case {
    int Model, OutMode, UDisBefore, UDisAfter;
    double Knob; // phase or line voltage shown
  };
  const Case cases[] = {{kModelFCT, 0, 0, 1, 381.0},
                        {kModelFCT, 0, 1, 0, 220.0},
                        {kModelFCT, 2, 0, 0, 220.0},
                        {kModelFCS, 5, 0, 0, 220.0}}; // single phase: nothing to show but U
  for (const Case &c : cases) {
    SetUp();
    UseModel(c.Model);
    Group().OutMode = c.OutMode;
    gSystemSet.UDisMode = c.UDisBefore;
    gPowerInfo.OutputRunning = 1; // acts also while running
    FCPhaseLineKey(panel);
    EXPECT_EQ(gSystemSet.UDisMode, c.UDisAfter);
    EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobVol.Value, c.Knob);
    EXPECT_EQ(QueuedCommands(), std::vector<Queued>{kWriteSystem});
  }
}

TEST_F(FCKeys, CalFCPowerUpDownLevels) {
  const std::pair<const char *, const char *> cases[] = {
      {"Vol=2800 UpUPer=30 DownUPer=5", "VolBase=2800 VolUp=3000 VolDown=2660"}, // up to 300.0 V
      {"Vol=12 UpUPer=5 DownUPer=30", "VolBase=12 VolUp=12 VolDown=10"}, // down at least 1.0 V
  };
  for (const auto &[set, levels] : cases) {
    SetFields(Group(), set);
    CalFCPowerUpDown(1);
    EXPECT_TRUE(HasFields(Group(), levels));
  }
}

TEST_F(FCKeys, VoltageUpAndDownStepThroughTheLevels) {
  gPowerInfo.OutputRunning = 1;
  SetFields(Group(), "VolBase=220 VolUp=231 VolDown=209");
  struct Step {
    bool Up;
    int Vol, VolLine; // line voltage: phase x 1.732, truncated
    bool Sent;
  };
  const std::vector<Step> steps = {
      {true, 209, 361, true},  {true, 220, 381, true},  {true, 231, 400, true},
      {true, 231, 400, false}, {false, 220, 381, true}, {false, 209, 361, true},
  };
  Group().Vol = 200;
  for (const Step &s : steps) {
    gCommNewCmd = {};
    if (s.Up) {
      FCVoltageUpKey(panel);
    } else {
      FCVoltageDownKey(panel);
    }
    EXPECT_EQ(Group().Vol, s.Vol);
    EXPECT_EQ(Group().VolLine, s.VolLine);
    EXPECT_EQ(QueuedCommands(), s.Sent ? std::vector<Queued>{kOnline0} : std::vector<Queued>{});
  }
  EXPECT_TRUE(panel.FCMiddle.LampDown.On);
  // with the output off the keys do nothing
  gPowerInfo.OutputRunning = 0;
  gCommNewCmd = {};
  FCVoltageUpKey(panel);
  EXPECT_EQ(Group().Vol, 209);
  EXPECT_TRUE(QueuedCommands().empty());
}

TEST_F(FCKeys, OnlineChangeKeepsMultipliedFrequencyWhileRunning) {
  struct Case {
    int Running, Freq;
    int Stored;
    Queued Sent;
  };
  const Case cases[] = {
      {1, 1200, 1200, kOnline0}, {0, 1200, 480, kWriteGroup0}, {1, 600, 480, kOnline0}};
  for (const Case &c : cases) {
    SetUp();
    gPowerInfo.OutputRunning = c.Running;
    Group().Freq = c.Freq;
    panel.FCMiddle.KnobFreq.Value = 48.0;
    NormalOnlineChanged(panel);
    EXPECT_EQ(Group().Freq, c.Stored);
    EXPECT_EQ(QueuedCommands(), std::vector<Queued>{c.Sent});
  }
}

TEST_F(FCKeys, OfflineEditsChangeRecordsAndSendNothing) {
  gPowerInfo.Connected = 0;
  FCMultiplierKey(panel);
  panel.FCNormal.UpPercent.Value = 10;
  FCNormalSetChanged(panel);
  gNormalFCSet[4].Freq = 600;
  panel.FCNormal.Group.Value = 4;
  FCGroupRingChanged(panel);
  EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobFreq.Value, 60.0); // the chosen group is shown
  EXPECT_EQ(gNormalFCSet[0].Freq, 1000);
  EXPECT_EQ(gNormalFCSet[0].UpUPer, 10);
  EXPECT_EQ(gCurrentNormalGroup, 4);
  EXPECT_EQ(panel.FCNormal.Group.Value, 4);
  EXPECT_TRUE(QueuedCommands().empty());
}

// ---- Guards on the main panel ----

class Guards : public MainPanelTest {};

TEST_F(Guards, WhichCallbacksTheAlarmStops) {
  using Callback = void (*)(MainPanelState &);
  struct Case {
    const char *Name;
    int Model;
    Callback Call;
    bool Guarded;
  };
  // clang-format off
  const Case cases[] = {
      {"phase key", kModelFCT, FCPhaseKey, true}, {"range key", kModelFCT, FCRangeKey, false},
      {"50/60 key", kModelFCT, FC5060Key, false}, {"multiplier", kModelFCT, FCMultiplierKey, true},
      {"120/220", kModelFCT, FC120220Key, true}, {"phase/line", kModelFCT, FCPhaseLineKey, true},
      {"FC entries", kModelFCT, FCNormalSetChanged, false},
      {"FC system", kModelFCT, FCSystemSetChanged, true},
      {"FP normal", kModelGS, FPNormalChanged, true},
      {"FP system", kModelGS, FPSystemSetChanged, true},
      {"separate", kModelFPA, SeparateSwitchChanged, true},
      {"standard angle", kModelFPA, StandardAngleKey, true},
      {"DC output", kModelGS, DCOutputSwitchClick, true},
  };
  // clang-format on
  for (const Case &c : cases) {
    SetUp();
    UseModel(c.Model);
    Connect();
    gPowerInfo.Alarming = 1;
    c.Call(panel);
    EXPECT_EQ(hooks.Messages.size(), c.Guarded ? 1u : 0u) << c.Name;
    EXPECT_EQ(QueuedCommands().empty(), c.Guarded) << c.Name;
  }
}

// An alarm, or a rise in progress while running, refuses an on-line edit
// with its message and puts the refused value back on the panel; a taken
// edit is written when stopped, an on-line change while running.
TEST_F(Guards, AlarmAndRisingRefuseOnlineEditsAndVoltageKeys) {
  struct Case {
    int Alarming, Remain, Running;
    Strings Messages; // none: the edit is taken
  };
  const Case cases[] = {{1, 0, 0, {"Error|Power is alarming. Please exit alarm state."}},
                        {0, 3, 1, {"Please Wait|Power is rising. Please wait."}},
                        {0, 0, 1, {}},
                        {0, 3, 0, {}}};
  for (const Case &c : cases) {
    SetUp();
    UseModel(kModelGS);
    Connect();
    gPowerInfo.Alarming = c.Alarming;
    gPowerInfo.RemainSecond = c.Remain;
    gPowerInfo.OutputRunning = c.Running;
    DataFPFromNormalVarToPanel(panel);
    panel.PhaseMiddle.KnobVol[0].Value = 110.0;
    NormalOnlineChanged(panel);
    const bool refused = !c.Messages.empty();
    EXPECT_EQ(gNormalFPSet[0].VolU, refused ? 2200 : 1100);
    EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Value, refused ? 220.0 : 110.0);
    EXPECT_EQ(hooks.Messages, c.Messages);
    // taken: written when stopped, an on-line change while running
    EXPECT_EQ(QueuedCommands(), refused ? std::vector<Queued>{}
                                        : std::vector<Queued>{c.Running ? kOnline0 : kWriteGroup0});
  }
  SetUp();
  UseFCT();
  gPowerInfo.Language = 0;
  gPowerInfo.RemainSecond = 2;
  gPowerInfo.Connected = 1;
  gPowerInfo.OutputRunning = 1;
  gNormalFCSet[0].VolUp = 2310;
  FCVoltageUpKey(panel);
  EXPECT_EQ(gNormalFCSet[0].Vol, 2200);
  EXPECT_EQ(hooks.Messages, Strings{"请稍后|电源缓升运行中，请缓升结束后再调节！"});
}

// ---- The other families ----

class FPControls : public MainPanelTest {
protected:
  void SetUp() override {
    MainPanelTest::SetUp();
    UseModel(kModelFPA);
    Connect();
    DataFPFromNormalVarToPanel(panel);
    DataFPFromSystemVarToPanel(panel);
  }
};

TEST_F(FPControls, GroupRingAndSystemPage) {
  gNormalFPSet[6].VolU = 1000;
  panel.Normal.Group.Value = 6;
  FPGroupRingChanged(panel);
  EXPECT_EQ(gCurrentNormalGroup, 6);
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Value, 100.0);
  panel.System.UDisMode.Value = 1;
  FPSystemSetChanged(panel);
  EXPECT_EQ(gSystemSet.UDisMode, 1);
  // the main voltage control now shows line voltage
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Value, 381.0);
  EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{Single(90, 33, 6), kWriteSystem}));
}

// The standard angles go out with the group, while connected.
TEST_F(FPControls, StandardAngleKeyWritesTheGroupWithTheStandardAngles) {
  SetFields(gNormalFPSet[0], "OutMode=16 AngleUV=500 AngleUW=1000 AngleVW=1000");
  StandardAngleKey(panel);
  EXPECT_TRUE(HasFields(gNormalFPSet[0], "AngleUV=1200 AngleUW=2400 AngleVW=1200"));
  EXPECT_DOUBLE_EQ(panel.Angle.AngleVW.Value, 120.0);
  EXPECT_EQ(QueuedCommands(), std::vector<Queued>{kWriteGroup0});
}

TEST_F(FPControls, GroupChoicePanels) {
  EXPECT_EQ(GroupChooseKey(panel), kFPGroupPanel);
  EXPECT_TRUE(panel.FPGroupPanel.Radio[0]);
  ChooseFPGroup(panel, 8);
  EXPECT_FALSE(panel.FPGroupPanel.Radio[0]);
  EXPECT_TRUE(panel.FPGroupPanel.Radio[8]);
  EXPECT_EQ(FPGroupOk(panel), 1);
  EXPECT_EQ(gCurrentNormalGroup, 8);
  EXPECT_EQ(panel.Normal.Group.Value, 8);
  EXPECT_EQ(QueuedCommands(), std::vector<Queued>{Single(90, 33, 8)});

  gPowerInfo.Alarming = 1;
  EXPECT_EQ(GroupChooseKey(panel), kNoGroupPanel);
}

} // namespace
