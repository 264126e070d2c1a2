// The multi-frame exchanges: the connect exchange of every family over each
// port, the reply waits, the writes of all normal groups, the program and
// THD groups, and what the end of the connect exchange does.
#include "SchedulerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool IsFP(int32_t model) { return model == kModelFPA || model == kModelFPB || model == kModelGS; }

std::string Name(const char *bytes, int param) {
  return std::string(bytes) + " " + std::to_string(param);
}

std::vector<std::string> ExpectedConnect(int32_t model, int32_t commType) {
  std::vector<std::string> frames = {"F0 ED", "A5 30"};
  const int groups = IsFCModel(model) ? kFCGroupCount : kFPGroupCount;
  for (int g = 0; g < groups; ++g)
    frames.push_back(Name("A5 21", g));
  if (IsFP(model)) {
    for (int g = 0; g < kTHDGroupCount; ++g) {
      if (commType == kCommGPIB) {
        frames.push_back(Name("A5 32", g));
        frames.push_back(Name("A5 33", g));
      } else {
        frames.push_back(Name("A5 31", g));
      }
    }
  }
  frames.push_back("A5 11");
  frames.push_back("F0 EB");
  return frames;
}

// ---- Reply waits ----

struct IntervalCase {
  int32_t Model;
  int32_t CommType;
  int32_t Baud;
  int Cmd1, Cmd2;
  int Expected;
};

class SchedulerInterval : public LinkTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(SchedulerInterval, WaitFollowsModelPortAndCommand) {
  const IntervalCase &c = GetParam();
  gPowerInfo.ModelType = c.Model;
  gPowerInfo.CommType = c.CommType;
  gPowerInfo.CommTypeRS232Baudrate = c.Baud;
  EXPECT_EQ(CommGetInterval(c.Cmd1, c.Cmd2), c.Expected);
}

constexpr int RS = kCommRS232, LAN = kCommLAN, GPIB = kCommGPIB;

// The rows a slip would hide in: the THD write rows (reads of THD groups
// take the plain row), the slower RS-232 column for 9600 and 19200, GPIB's
// own THD column, and the fall-backs.
INSTANTIATE_TEST_SUITE_P(Table, SchedulerInterval,
                         ::testing::Values(IntervalCase{kModelFCS, RS, 9600, 0xA5, 0x21, 5},
                                           IntervalCase{kModelFL, RS, 19200, 0xF0, 0xAF, 6},
                                           IntervalCase{kModelFSB, GPIB, 38400, 0x5A, 0x21, 14},
                                           IntervalCase{kModelGS, RS, 9600, 0x5A, 0x31, 14},
                                           IntervalCase{kModelFPA, LAN, 38400, 0x5A, 0x31, 20},
                                           IntervalCase{kModelFPA, GPIB, 38400, 0x5A, 0x33, 18},
                                           IntervalCase{kModelFPA, GPIB, 38400, 0xA5, 0x31, 7},
                                           IntervalCase{kModelFPB, LAN, 38400, 0x5A, 0x31, 35},
                                           IntervalCase{kModelFPB, RS, 38400, 0x5A, 0x32, 10},
                                           IntervalCase{kModelFPB, GPIB, 38400, 0x5A, 0x32, 27},
                                           IntervalCase{kModelFPB, RS, 19200, 0xA5, 0x31, 13},
                                           IntervalCase{0, LAN, 38400, 0xF0, 0xED, 11},
                                           IntervalCase{kModelFPA, 19, 38400, 0xF0, 0xEB, 0}));

// ---- The connect exchange ----

struct ConnectCase {
  int32_t Model;
  int32_t CommType;
  int32_t Baud;
  int QueryWait, SystemWait; // reply waits of F0 ED (for FSB) and A5 30, in ticks
};

class SchedulerConnect : public LinkTest, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(SchedulerConnect, IdentifiesReadsEverythingAndWaitsTheTableTimeForEachReply) {
  const ConnectCase &c = GetParam();
  gPowerInfo.ModelType = kModelFSB; // the model last used sets the query's wait
  gPowerInfo.CommType = c.CommType;
  gPowerInfo.CommTypeRS232Baudrate = c.Baud;
  ASSERT_TRUE(Connect(c.Model, c.CommType, c.Baud));

  EXPECT_EQ(gPowerInfo.ModelType, c.Model);
  EXPECT_STREQ(gPowerInfo.PowerModelStr.data(), IdentifierOf(c.Model));
  EXPECT_EQ(source_.Names(), ExpectedConnect(c.Model, c.CommType));
  EXPECT_EQ(CommGroupFrames(kGroupConnect), int(source_.Sent.size())); // the wait popup's count
  EXPECT_EQ(gCommInfo.NormalDataOk, 1);
  EXPECT_EQ(gCommInfo.SystemDataOk, 1);
  EXPECT_EQ(gCommInfo.THDDataOk, IsFP(c.Model) ? 1 : 0);
  EXPECT_EQ(gCommInfo.NoReplyCount, 0);

  // Every reply is read once, after the wait and before the next frame; the
  // model query waits by the model last used (FSB), the rest by the new one.
  ASSERT_EQ(source_.ReadTicks.size(), source_.Sent.size());
  EXPECT_EQ(source_.ReadTicks[0] - source_.Sent[0].Tick, c.QueryWait + 1);
  EXPECT_EQ(source_.ReadTicks[1] - source_.Sent[1].Tick, c.SystemWait + 1);
  for (size_t i = 1; i < source_.Sent.size(); ++i)
    EXPECT_LE(source_.ReadTicks[i - 1], source_.Sent[i].Tick) << source_.Sent[i].Name;

  // The panels learn of it once, at the end, and the wait popup comes and goes.
  EXPECT_EQ(hooks_.Calls.front(), "MainMenuSetPowerModelDimmed(1)");
  EXPECT_EQ(hooks_.Count("ModelTypeChoose(1)"), 1);
  EXPECT_EQ(hooks_.Count("CommConnectToPanel(1)"), 1);
  EXPECT_EQ(hooks_.Has("DataFPFromTHDVarToPanel"), IsFP(c.Model));
  EXPECT_EQ(hooks_.Has("CalFCPowerUpDown(0)"), IsFCModel(c.Model));
  EXPECT_EQ(hooks_.Count("DisplayPanelWait(1)"), 1);
  EXPECT_EQ(hooks_.Calls.back(), "DisplayPanelWait(0)");
  EXPECT_EQ(gPowerInfo.WaitPanelShown, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Models, SchedulerConnect,
    ::testing::Values(
        ConnectCase{kModelFCT, LAN, 38400, 20, 10}, ConnectCase{kModelFCS, GPIB, 38400, 14, 6},
        ConnectCase{kModelFSA, RS, 38400, 10, 4}, ConnectCase{kModelFSB, LAN, 38400, 20, 20},
        ConnectCase{kModelFPA, LAN, 38400, 20, 11}, ConnectCase{kModelFPA, GPIB, 38400, 14, 7},
        ConnectCase{kModelFPB, RS, 9600, 13, 13}, ConnectCase{kModelFPB, GPIB, 38400, 14, 14},
        ConnectCase{kModelGS, LAN, 38400, 20, 11}, ConnectCase{kModelGS, GPIB, 38400, 14, 7},
        ConnectCase{kModelFL, RS, 19200, 13, 6}, ConnectCase{kModelFL, GPIB, 38400, 14, 7}));

TEST_F(SchedulerConnect, ARunningOutputIsLeftRunning) {
  source_.RunState = 144; // FP: normal output running
  ASSERT_TRUE(Connect(kModelFPA));
  EXPECT_EQ(gPowerInfo.OutputRunning, 1);
  Ticks(200);
  EXPECT_EQ(source_.Count("0F 00"), 0);
  EXPECT_EQ(gPowerInfo.Connected, 1);
  EXPECT_GT(source_.Count("F0 AF"), 5) << "measurements are polled while it runs";
}

TEST_F(SchedulerConnect, AnFCFoundRunningGetsItsUpDownLevelsForARunningOutput) {
  source_.RunState = 133;
  ASSERT_TRUE(Connect(kModelFCT));
  EXPECT_TRUE(hooks_.Has("CalFCPowerUpDown(1)"));
  EXPECT_EQ(source_.Count("0F 00"), 0);
}

struct PageCase {
  const char *Name;
  int32_t Model;
  int32_t Page;
  int32_t Alarming;
  std::vector<std::string> Then; // frames after the connect exchange, in order
  const char *Exit;              // the page exit called after the model query
};

class SchedulerConnectPage : public LinkTest, public ::testing::WithParamInterface<PageCase> {};

std::vector<std::string> ProgramRead(const char *header, const char *step, int steps) {
  std::vector<std::string> out = {header};
  for (int n = 0; n < steps; ++n)
    out.push_back(Name(step, n));
  return out;
}

std::vector<std::string> Plus(std::vector<std::string> a, std::initializer_list<std::string> b) {
  a.insert(a.end(), b);
  return a;
}

TEST_P(SchedulerConnectPage, TheProgramPageInFrontIsReadAndEntered) {
  const PageCase &c = GetParam();
  gCurrentPage = c.Page;
  gPowerInfo.Alarming = c.Alarming;
  source_.RunState = c.Alarming ? 9 : 0;
  ASSERT_TRUE(Connect(c.Model));
  const auto connect = ExpectedConnect(c.Model, kCommLAN);
  EXPECT_EQ(SentSince(connect.size()), c.Then);
  if (c.Exit) {
    ASSERT_TRUE(hooks_.Has(c.Exit));
    EXPECT_EQ(gCurrentPage, kPageMain);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, SchedulerConnectPage,
    ::testing::Values(
        PageCase{"StepOnFPA", kModelFPA, kPageStep, 0, {"A5 22", "5A 12"}, nullptr},
        PageCase{"StepInAlarm", kModelFPB, kPageStep, 1, {"A5 22"}, nullptr},
        PageCase{"ListOnGS", kModelGS, kPageList, 0,
                 Plus(ProgramRead("A5 23", "A5 24", 100), {"5A 13"}), nullptr},
        PageCase{"RampOnFPA", kModelFPA, kPageRamp, 0,
                 Plus(ProgramRead("A5 25", "A5 26", 100), {"5A 15"}), nullptr},
        PageCase{"CrossOnGS", kModelGS, kPageCross, 0,
                 Plus(ProgramRead("A5 28", "A5 29", 8), {"5A 18"}), nullptr},
        PageCase{"THDNeedsNothingMore", kModelGS, kPageTHD, 0, {}, nullptr},
        PageCase{"CrossOnFPALeavesThePage", kModelFPA, kPageCross, 0, {}, "ExitCrossToNormalPanel"},
        PageCase{"StepOnFSLeavesThePage", kModelFSB, kPageStep, 0, {}, "ExitStepToNormalPanel"},
        PageCase{"THDOnFCLeavesThePage", kModelFCS, kPageTHD, 0, {}, "ExitTHDToNormalPanel"},
        PageCase{"ListOnFLLeavesThePage", kModelFL, kPageList, 0, {}, "ExitListToNormalPanel"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(SchedulerConnect, APageTheModelLacksIsLeftRightAfterTheModelQuery) {
  gCurrentPage = kPageRamp;
  source_.Identifier = IdentifierOf(kModelFSA);
  gPowerInfo.CommType = kCommLAN;
  CommConnectDeal(1);
  while (source_.Sent.size() < 2 && gPowerInfo.Connected == 1)
    Ticks(1);
  EXPECT_TRUE(hooks_.Has("ExitRampToNormalPanel"));
  EXPECT_EQ(source_.Sent.back().Name, "A5 30");
}

// ---- Writing all normal groups ----

struct WriteAllCase {
  int32_t Model;
  std::vector<std::string> Expected;
};

std::vector<std::string> WriteAll(int groups, bool selectGroup) {
  std::vector<std::string> out = {"5A 30"};
  for (int g = 0; g < groups; ++g)
    out.push_back(Name("5A 21", g));
  if (selectGroup)
    out.push_back("5A 11 2");
  return out;
}

class SchedulerWriteAll : public LinkTest, public ::testing::WithParamInterface<WriteAllCase> {};

TEST_P(SchedulerWriteAll, EveryGroupIsWrittenAndFSAndFLEndWithoutASelection) {
  ASSERT_TRUE(Connect(GetParam().Model));
  gCurrentNormalGroup = 2;
  gCommInfo.NormalDataOk = gCommInfo.SystemDataOk = 0;
  const size_t before = source_.Sent.size();
  CommSetNewCmdGroup(kGroupWriteNormalAll);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(SentSince(before), GetParam().Expected);
  EXPECT_EQ(CommGroupFrames(kGroupWriteNormalAll), int(GetParam().Expected.size()));
  EXPECT_EQ(gCommInfo.NormalDataOk, 1);
  EXPECT_EQ(gCommInfo.SystemDataOk, 1);
  EXPECT_EQ(gCommInfo.NoReplyCount, 0);
  Ticks(100);
  EXPECT_EQ(gPowerInfo.Connected, 1);
}

INSTANTIATE_TEST_SUITE_P(Families, SchedulerWriteAll,
                         ::testing::Values(WriteAllCase{kModelFCT, WriteAll(7, true)},
                                           WriteAllCase{kModelFSA, WriteAll(10, false)},
                                           WriteAllCase{kModelFSB, WriteAll(10, false)},
                                           WriteAllCase{kModelFL, WriteAll(10, false)},
                                           WriteAllCase{kModelFPB, WriteAll(10, true)},
                                           WriteAllCase{kModelGS, WriteAll(10, true)}));

// ---- Programs and THD ----

struct ProgramCase {
  const char *Name;
  int32_t Model;
  int32_t CommType;
  int Group;
  std::vector<std::string> Expected;
  int32_t CommInfo::*Flag;
  const char *Shown; // hook called at the end (nullptr: none checked)
};

std::vector<std::string> THDFrames(const char *cmd1, int32_t commType, std::vector<int> groups) {
  std::vector<std::string> out;
  const std::string c1 = cmd1;
  for (int g : groups) {
    if (commType == kCommGPIB) {
      out.push_back(Name((c1 + " 32").c_str(), g));
      out.push_back(Name((c1 + " 33").c_str(), g));
    } else {
      out.push_back(Name((c1 + " 31").c_str(), g));
    }
  }
  return out;
}

const std::vector<int> kAllTHD = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

class SchedulerProgram : public LinkTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(SchedulerProgram, TheExchangeRunsEveryFrameAndMarksTheDataExchanged) {
  const ProgramCase &c = GetParam();
  ASSERT_TRUE(Connect(c.Model, c.CommType));
  gCommInfo.*c.Flag = 0;
  gRefreshProWaveDelay = 15;
  gTHDNeedDownload.fill(1);
  hooks_.Calls.clear();
  const size_t before = source_.Sent.size();
  CommSetNewCmdGroup(c.Group);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(SentSince(before), c.Expected);
  EXPECT_EQ(CommGroupFrames(c.Group), int(c.Expected.size()));
  EXPECT_EQ(gCommInfo.*c.Flag, 1);
  if (c.Shown) {
    EXPECT_TRUE(hooks_.Has(c.Shown)) << c.Shown;
  }
  if (c.Group == kGroupReadList) {
    EXPECT_EQ(gRefreshProWaveDelay, 0);
  }
  if (c.Group == kGroupWriteTHDAll) {
    EXPECT_EQ(CheckTHDNeedToDownload(), 0);
  }
  EXPECT_EQ(hooks_.Calls.front(), "DisplayPanelWait(1)");
  EXPECT_EQ(hooks_.Calls.back(), "DisplayPanelWait(0)");
}

INSTANTIATE_TEST_SUITE_P(
    Groups, SchedulerProgram,
    ::testing::Values(
        ProgramCase{"ReadList", kModelFPA, LAN, kGroupReadList, ProgramRead("A5 23", "A5 24", 100),
                    &CommInfo::ListDataOk, "RefreshListSetGraph(1,1,1)"},
        ProgramCase{"ReadRamp", kModelGS, LAN, kGroupReadRamp, ProgramRead("A5 25", "A5 26", 100),
                    &CommInfo::RampDataOk, "DataFPFromRampVarToPanel"},
        ProgramCase{"ReadCross", kModelGS, LAN, kGroupReadCross, ProgramRead("A5 28", "A5 29", 8),
                    &CommInfo::CrossDataOk, "DataFPFromCrossVarToPanel"},
        ProgramCase{"ReadTHD", kModelFPB, LAN, kGroupReadTHD, THDFrames("A5", LAN, kAllTHD),
                    &CommInfo::THDDataOk, "DataFPFromTHDVarToPanel"},
        ProgramCase{"ReadTHDOnGPIB", kModelFPA, GPIB, kGroupReadTHD, THDFrames("A5", GPIB, kAllTHD),
                    &CommInfo::THDDataOk, "DataFPFromTHDVarToPanel"},
        ProgramCase{"WriteList", kModelFPA, LAN, kGroupWriteList,
                    ProgramRead("5A 23", "5A 24", 100), &CommInfo::ListDataOk, nullptr},
        ProgramCase{"WriteRamp", kModelFPB, GPIB, kGroupWriteRamp,
                    ProgramRead("5A 25", "5A 26", 100), &CommInfo::RampDataOk, nullptr},
        ProgramCase{"WriteCross", kModelGS, LAN, kGroupWriteCross, ProgramRead("5A 28", "5A 29", 8),
                    &CommInfo::CrossDataOk, nullptr},
        ProgramCase{"WriteTHD", kModelGS, LAN, kGroupWriteTHDAll, THDFrames("5A", LAN, kAllTHD),
                    &CommInfo::THDDataOk, "CheckAndSetTHDDownloadButton"},
        ProgramCase{"WriteTHDOnGPIB", kModelFPA, GPIB, kGroupWriteTHDAll,
                    THDFrames("5A", GPIB, kAllTHD), &CommInfo::THDDataOk,
                    "CheckAndSetTHDDownloadButton"}),
    [](const auto &info) { return std::string(info.param.Name); });

class SchedulerTHDMarked : public LinkTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(SchedulerTHDMarked, OnlyTheMarkedGroupsAreWrittenAndTheirMarksCleared) {
  ASSERT_TRUE(Connect(kModelGS, GetParam()));
  gTHDNeedDownload[2] = 1;
  gTHDNeedDownload[7] = 1;
  gTHDNeedDownload[9] = 1;
  const size_t before = source_.Sent.size();
  CommSetNewCmdGroup(kGroupWriteTHDMarked);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(SentSince(before), THDFrames("5A", GetParam(), {2, 7, 9}));
  EXPECT_EQ(CheckTHDNeedToDownload(), 0);
  EXPECT_TRUE(hooks_.Has("CheckAndSetTHDDownloadButton"));

  // Nothing marked: the request takes its queue entry and sends nothing.
  const size_t after = source_.Sent.size();
  CommSetNewCmdGroup(kGroupWriteTHDMarked);
  EXPECT_EQ(gCommNewCmd.Count, 1);
  Ticks(1);
  EXPECT_EQ(gCommNewCmd.Count, 0);
  EXPECT_EQ(source_.Sent.size(), after);
}

INSTANTIATE_TEST_SUITE_P(Ports, SchedulerTHDMarked, ::testing::Values(LAN, GPIB));

TEST_F(SchedulerProgram, ProgramGroupsOnAFamilyWithoutProgramsEndAtOnce) {
  ASSERT_TRUE(Connect(kModelFSA));
  gTHDNeedDownload[0] = 1;
  const size_t before = source_.Sent.size();
  // The header read is not in the FS set: nothing goes out, and the missing
  // replies end the connection as for any unknown command.
  CommSetNewCmdGroup(kGroupReadList);
  Ticks(10);
  EXPECT_EQ(source_.Sent.size(), before);
  EXPECT_EQ(gPowerInfo.Connected, 0);
}

} // namespace
