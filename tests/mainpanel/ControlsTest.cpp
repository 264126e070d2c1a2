#include "app/MainPanelFunc.h"
#include "app/NormalPanelMap.h"
#include "programs/Arithmetic.h"

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

TEST_F(FCKeys, FrequencyKeySequences) {
  using Key = void (*)(MainPanelState &);
  struct Case {
    const char *Name;
    Key Press;
    int Start;
    std::vector<int> Steps; // Freq after each press
  };
  // clang-format off
  const Case cases[] = {
      {"multiplier from 60", FCMultiplierKey, 600, {1200, 2400, 600}},
      {"multiplier at 55", FCMultiplierKey, 550, {550}}, {"50/60", FC5060Key, 500, {600, 500}},
      {"50/60 quadrupled", FC5060Key, 2400, {2000, 2400}}, {"50/60 at 55", FC5060Key, 550, {500}},
  };
  // clang-format on
  for (const Case &c : cases) {
    SetUp();
    Group().Freq = c.Start;
    // every press shows and sends the group, except the multiplier at a free
    // frequency, which does nothing at all
    const bool silent = c.Press == FCMultiplierKey && c.Start == 550;
    for (int expected : c.Steps) {
      gCommNewCmd = {};
      c.Press(panel);
      EXPECT_EQ(Group().Freq, expected) << c.Name;
      EXPECT_DOUBLE_EQ(panel.FCMiddle.KnobFreq.Value, silent ? 50.0 : Group().Freq / 10.0)
          << c.Name;
      EXPECT_EQ(QueuedCommands(), std::vector<Queued>(silent ? 0 : 1, kWriteGroup0)) << c.Name;
    }
  }
}

TEST_F(FCKeys, PhaseRangeAndPresetKeys) {
  for (int expected : {2, 3, 4, 0}) {
    FCPhaseKey(panel);
    EXPECT_EQ(Group().OutMode, expected);
  }

  // The range key toggles auto (0) and high (1); one of the two lamps is lit.
  for (int expected : {0, 1, 0}) {
    FCRangeKey(panel);
    EXPECT_EQ(Group().VolLevel, expected);
    EXPECT_EQ(panel.FCMiddle.LampRangeAuto.On, expected == 0);
    EXPECT_EQ(panel.FCMiddle.LampRangeHigh.On, expected == 1);
  }

  const std::pair<int, int> presets[] = {{1200, 2078}, {2200, 3810}, {1200, 2078}};
  for (const auto &[vol, line] : presets) {
    FC120220Key(panel);
    EXPECT_EQ(Group().Vol, vol);
    EXPECT_EQ(Group().VolLine, line);
  }
  EXPECT_TRUE(panel.FCMiddle.Lamp120.On);
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
  EXPECT_EQ(Group().OutMode, before.OutMode);
  EXPECT_EQ(Group().Freq, before.Freq);
  EXPECT_EQ(Group().Vol, before.Vol);
  EXPECT_EQ(Group().VolLevel, before.VolLevel);
  EXPECT_EQ(gCurrentNormalGroup, 0);
  EXPECT_TRUE(QueuedCommands().empty());
  EXPECT_TRUE(hooks.Messages.empty());
}

TEST_F(FCKeys, PhaseLineKeySendsSystemEvenWithoutChange) {
  struct Case {
    int OutMode, UDisBefore, UDisAfter;
  };
  const Case cases[] = {{0, 0, 1}, {0, 1, 0}, {2, 0, 0}};
  for (const Case &c : cases) {
    SetUp();
    Group().OutMode = c.OutMode;
    gSystemSet.UDisMode = c.UDisBefore;
    gPowerInfo.OutputRunning = 1; // acts also while running
    FCPhaseLineKey(panel);
    EXPECT_EQ(gSystemSet.UDisMode, c.UDisAfter);
    EXPECT_EQ(QueuedCommands(), std::vector<Queued>{kWriteSystem});
  }
  // single-phase FC
  UseModel(kModelFCS);
  gCommNewCmd = {};
  FCPhaseLineKey(panel);
  EXPECT_EQ(QueuedCommands(), std::vector<Queued>{kWriteSystem});
}

TEST_F(FCKeys, CalFCPowerUpDownLevels) {
  struct Case {
    int Vol, Up, Down;
    int Base, VolUp, VolDown;
  };
  const Case cases[] = {
      {220, 5, 5, 220, 231, 209},
      {2800, 30, 5, 2800, 3000, 2660}, // up limited to 300.0 V
      {12, 5, 30, 12, 12, 10},         // down at least 1.0 V
  };
  for (const Case &c : cases) {
    Group().Vol = c.Vol;
    Group().UpUPer = c.Up;
    Group().DownUPer = c.Down;
    CalFCPowerUpDown(1);
    EXPECT_EQ(Group().VolBase, c.Base);
    EXPECT_EQ(Group().VolUp, c.VolUp);
    EXPECT_EQ(Group().VolDown, c.VolDown);
    CalFCPowerUpDown(0);
    EXPECT_EQ(Group().VolBase + Group().VolUp + Group().VolDown, 0);
  }
}

TEST_F(FCKeys, VoltageUpAndDownStepThroughTheLevels) {
  gPowerInfo.OutputRunning = 1;
  Group().VolBase = 220;
  Group().VolUp = 231;
  Group().VolDown = 209;
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

TEST_F(Guards, AlarmRefusesWithMessageAndRestoresThePanel) {
  UseModel(kModelFPA);
  Connect();
  gPowerInfo.Alarming = 1;
  DataFPFromNormalVarToPanel(panel);
  panel.PhaseMiddle.KnobVol[0].Value = 100.0; // the user's refused edit
  NormalOnlineChanged(panel);
  EXPECT_EQ(gNormalFPSet[0].VolU, 2200);
  EXPECT_DOUBLE_EQ(panel.PhaseMiddle.KnobVol[0].Value, 220.0);
  EXPECT_EQ(hooks.Messages, Strings{"Error|Power is alarming. Please exit alarm state."});
  EXPECT_TRUE(QueuedCommands().empty());
}

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

TEST_F(Guards, RisingRefusesOnlineEditsAndVoltageKeys) {
  struct Case {
    int Remain, Connected, Running;
    bool Refused;
  };
  const Case cases[] = {{3, 1, 1, true}, {0, 1, 1, false}, {3, 1, 0, false}};
  for (const Case &c : cases) {
    SetUp();
    UseModel(kModelGS);
    gPowerInfo.RemainSecond = c.Remain;
    gPowerInfo.Connected = c.Connected;
    gPowerInfo.OutputRunning = c.Running;
    DataFPFromNormalVarToPanel(panel);
    panel.PhaseMiddle.KnobVol[0].Value = 110.0;
    NormalOnlineChanged(panel);
    EXPECT_EQ(gNormalFPSet[0].VolU, c.Refused ? 2200 : 1100);
    EXPECT_EQ(hooks.Messages,
              c.Refused ? Strings{"Please Wait|Power is rising. Please wait."} : Strings{});
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

TEST_F(FPControls, OnlineChangeSendsWriteWhenStoppedAndChangeWhenRunning) {
  for (int running : {0, 1}) {
    SetUp();
    gPowerInfo.OutputRunning = running;
    panel.PhaseMiddle.KnobVol[0].Value = 230.0;
    NormalOnlineChanged(panel);
    EXPECT_EQ(gNormalFPSet[0].VolU, 2300);
    EXPECT_EQ(QueuedCommands(), std::vector<Queued>{running ? kOnline0 : kWriteGroup0});
  }
}

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
  NormalFPSet &g = gNormalFPSet[0];
  g.OutMode = 16;
  g.AngleUV = 500;
  g.AngleUW = g.AngleVW = 1000;
  StandardAngleKey(panel);
  EXPECT_EQ((std::array{g.AngleUV, g.AngleUW, g.AngleVW}), (std::array{1200, 2400, 1200}));
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
