#include "app/MainPanelFunc.h"
#include "app/NormalPanelMap.h"
#include "app/OutputState.h"

#include "MainPanelTestSupport.h"

namespace {

const Queued kOutputOn = Single(15, 255, 0);
const Queued kOutputOff = Single(15, 0, 0);

bool AllChartsCleared(const MainPanelState &panel) {
  for (bool c : panel.Requests.ClearChart) {
    if (!c) {
      return false;
    }
  }
  return true;
}

// ---- Output switch ----

class OutputSwitch : public MainPanelTest {};

TEST_F(OutputSwitch, ConnectedQueuesWriteThenOnOrOff) {
  struct Case {
    const char *Name;
    int Model, Page, Running;
    std::vector<Queued> Sent;
  };
  // clang-format off
  const Case cases[] = {
      {"FCT main on", kModelFCT, 0, 0, {Single(90, 33, 3), kOutputOn}},
      {"FCT main off", kModelFCT, 0, 1, {kOutputOff}},
      {"FPA main on", kModelFPA, 0, 0, {Single(90, 33, 3), kOutputOn}},
      {"Step on", kModelFPA, 1, 0, {Single(90, 34, 0), kOutputOn}},
      {"List on", kModelFPA, 2, 0, {Single(90, 35, 0), kOutputOn}},
      {"Ramp on", kModelGS, 3, 0, {Single(90, 37, 0), kOutputOn}},
      {"Cross on", kModelGS, 4, 0, {Single(90, 40, 0), kOutputOn}},
      {"THD page", kModelGS, 5, 0, {}},
  };
  // clang-format on
  for (const Case &c : cases) {
    SetUp();
    UseModel(c.Model);
    Connect();
    gCurrentNormalGroup = 3;
    gCurrentPage = c.Page;
    gPowerInfo.OutputRunning = c.Running;
    gMeasureOutput.At(0, 0) = 2200;
    gNormalFCSet[3].VolUp = gNormalFCSet[3].VolDown = 7;
    OutputSwitchClick(panel);
    EXPECT_EQ(QueuedCommands(), c.Sent) << c.Name;
    EXPECT_EQ(gMeasureOutput.At(0, 0), 0) << c.Name;
    // the flags follow the source's replies, not the click
    EXPECT_EQ(gPowerInfo.OutputRunning, c.Running) << c.Name;
    EXPECT_EQ(AllChartsCleared(panel), c.Running == 0 && c.Page <= 4) << c.Name;
    // an FC arms its voltage keys at 5 % up and down when switched on, and
    // disarms them when switched off
    const std::array<int, 2> armed = c.Model != kModelFCT ? std::array{7, 7}
                                     : c.Running          ? std::array{0, 0}
                                                          : std::array{2310, 2090};
    EXPECT_EQ((std::array{gNormalFCSet[3].VolUp, gNormalFCSet[3].VolDown}), armed) << c.Name;
  }
}

TEST_F(OutputSwitch, SeparateOutputNeedsOneChannel) {
  UseModel(kModelFPA);
  Connect();
  gNormalFPSet[0].OutMode = 1;
  gNormalFPSet[0].OutChannel = 0;
  OutputSwitchClick(panel);
  EXPECT_EQ(hooks.Messages, Strings{"Warning|Please set at least one channel is on!"});
  EXPECT_TRUE(QueuedCommands().empty());
  // stopping is always allowed
  gPowerInfo.OutputRunning = 1;
  OutputSwitchClick(panel);
  EXPECT_EQ(QueuedCommands(), std::vector<Queued>{kOutputOff});
}

// Without a link the output's state is unknown: a click of either switch
// changes nothing. Linked, the DC switch turns the DC output on and off.
TEST_F(OutputSwitch, OfflineNothingDCSwitchWhenLinked) {
  UseModel(kModelGS);
  gPowerInfo.OutputRunning = 1;
  gPowerState.DCOutputOn = 1;
  OutputSwitchClick(panel);
  DCOutputSwitchClick(panel);
  EXPECT_EQ((std::array{gPowerInfo.OutputRunning, gPowerState.DCOutputOn}), (std::array{1, 1}));
  EXPECT_FALSE(AllChartsCleared(panel));
  EXPECT_TRUE(QueuedCommands().empty());
  Connect();
  gPowerInfo.OutputRunning = gPowerState.DCOutputOn = 0;
  DCOutputSwitchClick(panel);
  gPowerState.DCOutputOn = 1;
  DCOutputSwitchClick(panel);
  EXPECT_EQ(QueuedCommands(), (std::vector<Queued>{Single(15, 254, 0), Single(15, 1, 0)}));
  gPowerState.DCValue = 123;
  RefreshDCOutputStateAndMeasure(panel);
  EXPECT_DOUBLE_EQ(panel.Output.DCReading.Value, 12.3);
}

// ---- Output state ----

class OutputState : public MainPanelTest {};

// What the output area shows, named in panel order.
std::string Shown(const OutputAreaView &o) {
  const std::pair<const char *, bool> parts[] = {
      {"alarm", o.AlarmLamp.Visible && o.AlarmTextVisible},
      {"switch", o.OutputSwitch.Visible},
      {"on", o.OutputSwitch.On},
      {"dc-on", o.DCOutput.On},
      {"running", o.RunningVisible},
      {"rising", o.RisingVisible},
      {"stopped", o.StoppedVisible},
      {"clear-dimmed", o.ClearAlarm.Dimmed},
      {"switch-dimmed", o.OutputSwitch.Dimmed},
      {"dc-dimmed", o.DCOutput.Dimmed},
  };
  std::string shown;
  for (const auto &[name, on] : parts)
    shown += on ? (shown.empty() ? "" : " ") + std::string(name) : "";
  return shown;
}

// Offline the state is unknown: the switches are dimmed and dark, and
// neither running nor stopped shows.
TEST_F(OutputState, AreaFollowsTheFlags) {
  struct Case {
    int Connected, Running, Alarming, RemainSecond;
    const char *Shown;
  };
  // clang-format off
  const Case cases[] = {
      {1, 0, 0, 0, "switch stopped clear-dimmed"},
      {1, 1, 0, 0, "switch on dc-on running clear-dimmed"},
      {1, 1, 0, 3, "switch on dc-on rising clear-dimmed"},
      {1, 0, 1, 0, "alarm dc-dimmed"},
      {1, 1, 1, 0, "alarm on dc-on dc-dimmed"},
      {0, 1, 0, 0, "switch clear-dimmed switch-dimmed dc-dimmed"},
  };
  // clang-format on
  UseModel(kModelGS);
  for (const Case &c : cases) {
    gPowerInfo.Connected = c.Connected;
    gPowerInfo.OutputRunning = c.Running;
    gPowerInfo.Alarming = c.Alarming;
    gPowerInfo.RemainSecond = c.RemainSecond;
    gPowerState.DCOutputOn = c.Running;
    RefreshOutputState(panel);
    EXPECT_EQ(Shown(panel.Output), c.Shown) << c.Connected << c.Running << c.Alarming;
  }
}

TEST_F(OutputState, PageAndMenusRefreshOncePerChange) {
  UseModel(kModelFPA);
  gPowerInfo.Connected = 1;
  // first refresh after start always counts as a change
  RefreshOutputState(panel);
  EXPECT_EQ(panel.Requests.NormalSaveLoadDimmed, std::optional<bool>(false));
  EXPECT_EQ(panel.Requests.PowerModelDimmed, std::optional<bool>(true));

  gPowerInfo.OutputRunning = 1;
  panel.Requests = {};
  const uint32_t before = panel.Graph.Revision;
  RefreshOutputState(panel);
  EXPECT_EQ(panel.Requests.NormalSaveLoadDimmed, std::optional<bool>(true));
  EXPECT_EQ(panel.Graph.Revision, before + 1); // the page was shown again
  EXPECT_TRUE(panel.Normal.RiseTime.Dimmed);   // and dims while busy
  EXPECT_TRUE(panel.Normal.GroupChoose.Dimmed);

  panel.Requests = {};
  RefreshOutputState(panel); // same state again: the area only
  EXPECT_FALSE(panel.Requests.NormalSaveLoadDimmed.has_value());
  EXPECT_FALSE(panel.Requests.PowerModelDimmed.has_value());
  EXPECT_EQ(panel.Graph.Revision, before + 1);
  // an FP source dims programs and THD on every refresh while running
  EXPECT_EQ(panel.Requests.ProgramDimmed, std::optional<bool>(true));
  EXPECT_EQ(panel.Requests.THDDimmed, std::optional<bool>(true));
  EXPECT_EQ(panel.Requests.MeasureHistoryDimmed, std::optional<bool>(true));
}

TEST_F(OutputState, ListAndRampLeaveTheFiveStepWindow) {
  struct Case {
    int Page, DisMode, Shown, OutMode;
  };
  const Case cases[] = {{kPageList, 6, 3, 5}, {kPageList, 2, 2, 0}, {kPageRamp, 7, 4, 0}};
  for (const Case &c : cases) {
    SetUp();
    UseModel(kModelFPA);
    gCurrentPage = c.Page;
    gPowerInfo.OutputRunning = 1;
    (c.Page == kPageList ? gListSetDisMode : gRampSetDisMode) = c.DisMode;
    (c.Page == kPageList ? gListSet : gRampSet).OutMode = c.OutMode;
    RefreshOutputState(panel);
    EXPECT_EQ(c.Page == kPageList ? gListSetDisMode : gRampSetDisMode, c.Shown);
    EXPECT_EQ(panel.Requests.RefreshProgramPage, std::optional<int>(c.Page));
    EXPECT_EQ(panel.Requests.ProgramDisMode, c.Shown);
    EXPECT_EQ(panel.Requests.ProgramSinglePhase, c.OutMode == 5);
    EXPECT_TRUE(panel.Requests.ProgramRunning);
  }
}

TEST_F(OutputState, ProgramPageAndModelsWithoutPrograms) {
  UseModel(kModelFSA);
  gCurrentPage = 3;
  gPowerInfo.Alarming = 1;
  RefreshOutputState(panel);
  EXPECT_EQ(panel.Requests.RefreshProgramPage, std::optional<int>(3));
  EXPECT_TRUE(panel.Requests.ProgramPageBusy);
  EXPECT_FALSE(panel.Requests.NormalSaveLoadDimmed.has_value());
  EXPECT_FALSE(panel.Requests.ProgramDimmed.has_value()); // FSA has no programs to open
  EXPECT_EQ(panel.Requests.PowerModelDimmed, std::optional<bool>(false));
  EXPECT_EQ(panel.Requests.MeasureHistoryDimmed, std::optional<bool>(false));
}

// ---- Alarm texts ----

TEST(AlarmText, PrefixAndPlaceholders) {
  struct Case {
    int Code, Language;
    const char *Text;
  };
  // clang-format off
  const Case cases[] = {
      {1311, 1, "1item 313"}, {311, 1, "item 313"}, {100, 1, "item 341"}, {201, 1, "item 329"},
      {375, 1, "item 327"}, {472, 1, "item 305"}, {602, 1, "item 347"}, {618, 1, "item 339"},
      {1410, 0, "1条目 300"},
      // the generic text, with the code written in
      {603, 1, "E603 alarm"}, {619, 1, "E619 alarm"}, {0, 1, "E000 alarm"}, {316, 1, "E316 alarm"},
      {2999, 1, "2E999 alarm"}, {12007, 1, "2E007 alarm"}, // only the last digit of the prefix
      {999, 0, "警999报警"},                               // characters, not bytes
  };
  // clang-format on
  for (const Case &c : cases) {
    EXPECT_EQ(StrAlarmLanguageSet(c.Code, c.Language, FixedItemText), c.Text) << c.Code;
  }
}

// ---- Clear-alarm key ----

class ClearAlarm : public MainPanelTest {};

TEST_F(ClearAlarm, ByConnectionAndCode) {
  struct Case {
    int Connected, Code, Language;
    Strings Messages;
    bool Sent;
    int AlarmingAfter;
  };
  const Case cases[] = {
      {0, 900, 1, {}, false, 0},
      {1, 900, 1, {"Warning|Power is in emergency state, please manually cancel!"}, false, 1},
      {1, 900, 0, {"警告|电源处于急停状态，请手动解除！"}, false, 1},
      {1, 200, 1, {"Warning|Power input is error,please power off and check."}, false, 1},
      {1, 311, 1, {}, true, 1},
      {1, 1200, 1, {}, true, 1}, // only the plain codes are refused
  };
  for (const Case &c : cases) {
    SetUp();
    UseModel(kModelGS);
    gPowerInfo.Connected = c.Connected;
    gPowerInfo.Language = c.Language;
    gPowerInfo.Alarming = 1;
    gPowerState.AlarmCode = c.Code;
    ClearAlarmKey(panel);
    EXPECT_EQ(hooks.Messages, c.Messages) << c.Code;
    EXPECT_EQ(QueuedCommands(),
              c.Sent ? std::vector<Queued>{Single(15, 3, 0)} : std::vector<Queued>{})
        << c.Code;
    EXPECT_EQ(gPowerInfo.Alarming, c.AlarmingAfter) << c.Code;
  }
}

} // namespace
