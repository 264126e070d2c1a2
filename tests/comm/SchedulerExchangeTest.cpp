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

Strings ExpectedConnect(int32_t model, int32_t commType) {
  Strings frames = {"F0 ED", "A5 30"};
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

constexpr int RS = kCommRS232, LAN = kCommLAN, GPIB = kCommGPIB;

using SchedulerExchange = LinkTest;

// The rows a slip would hide in: the THD write rows (reads of THD groups
// take the plain row), the slower RS-232 column for 9600 and 19200, GPIB's
// own THD column, and the fall-backs.
TEST_F(SchedulerExchange, TheReplyWaitFollowsModelPortAndCommand) {
  const struct {
    int32_t Model, CommType, Baud;
    int Cmd1, Cmd2, Expected;
  } cases[] = {{kModelFCS, RS, 9600, 0xA5, 0x21, 5},     {kModelFL, RS, 19200, 0xF0, 0xAF, 6},
               {kModelFSB, GPIB, 38400, 0x5A, 0x21, 14}, {kModelGS, RS, 9600, 0x5A, 0x31, 14},
               {kModelFPA, LAN, 38400, 0x5A, 0x31, 20},  {kModelFPA, GPIB, 38400, 0x5A, 0x33, 18},
               {kModelFPA, GPIB, 38400, 0xA5, 0x31, 7},  {kModelFPB, LAN, 38400, 0x5A, 0x31, 35},
               {kModelFPB, RS, 38400, 0x5A, 0x32, 10},   {kModelFPB, GPIB, 38400, 0x5A, 0x32, 27},
               {kModelFPB, RS, 19200, 0xA5, 0x31, 13},   {0, LAN, 38400, 0xF0, 0xED, 11},
               {kModelFPA, 19, 38400, 0xF0, 0xEB, 0}};
  for (const auto &c : cases) {
    gPowerInfo.ModelType = c.Model;
    gPowerInfo.CommType = c.CommType;
    gPowerInfo.CommTypeRS232Baudrate = c.Baud;
    EXPECT_EQ(CommGetInterval(c.Cmd1, c.Cmd2), c.Expected) << c.Model << " " << c.Cmd2;
  }
}

// ---- The connect exchange ----

TEST_F(SchedulerExchange, TheConnectIdentifiesReadsEverythingAndWaitsTheTableTimeForEachReply) {
  const struct {
    int32_t Model, CommType, Baud;
    int QueryWait, SystemWait; // reply waits of F0 ED (for FSB) and A5 30, in ticks
  } cases[] = {{kModelFCT, LAN, 38400, 20, 10}, {kModelFCS, GPIB, 38400, 14, 6},
               {kModelFSA, RS, 38400, 10, 4},   {kModelFSB, LAN, 38400, 20, 20},
               {kModelFPA, LAN, 38400, 20, 11}, {kModelFPA, GPIB, 38400, 14, 7},
               {kModelFPB, RS, 9600, 13, 13},   {kModelFPB, GPIB, 38400, 14, 14},
               {kModelGS, LAN, 38400, 20, 11},  {kModelGS, GPIB, 38400, 14, 7},
               {kModelFL, RS, 19200, 13, 6},    {kModelFL, GPIB, 38400, 14, 7}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Model << " on " << c.CommType);
    Restart();
    gPowerInfo.ModelType = kModelFSB; // the model last used sets the query's wait
    gPowerInfo.CommType = c.CommType;
    gPowerInfo.CommTypeRS232Baudrate = c.Baud;
    ASSERT_TRUE(Connect(c.Model, c.CommType, c.Baud));

    EXPECT_EQ(gPowerInfo.ModelType, c.Model);
    EXPECT_STREQ(gPowerInfo.PowerModelStr.data(), IdentifierOf(c.Model));
    EXPECT_EQ(source_.Names(), ExpectedConnect(c.Model, c.CommType));
    EXPECT_EQ(CommGroupFrames(kGroupConnect), int(source_.Sent.size())); // the wait popup's count
    EXPECT_EQ(gCommInfo.NormalDataOk + gCommInfo.SystemDataOk, 2);
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
}

Strings ProgramRead(const char *header, const char *step, int steps,
                    std::initializer_list<std::string> then = {}) {
  Strings out = {header};
  for (int n = 0; n < steps; ++n)
    out.push_back(Name(step, n));
  out.insert(out.end(), then);
  return out;
}

TEST_F(SchedulerExchange, TheProgramPageInFrontIsReadAndEnteredOrLeft) {
  const struct {
    int32_t Model, Page, Alarming;
    Strings Then;     // frames after the connect exchange, in order
    const char *Exit; // the page exit called after the model query
  } cases[] = {{kModelFPA, kPageStep, 0, {"A5 22", "5A 12"}, nullptr},
               {kModelFPB, kPageStep, 1, {"A5 22"}, nullptr}, // in alarm: not entered
               {kModelGS, kPageList, 0, ProgramRead("A5 23", "A5 24", 100, {"5A 13"}), nullptr},
               {kModelFPA, kPageRamp, 0, ProgramRead("A5 25", "A5 26", 100, {"5A 15"}), nullptr},
               {kModelGS, kPageCross, 0, ProgramRead("A5 28", "A5 29", 8, {"5A 18"}), nullptr},
               {kModelGS, kPageTHD, 0, {}, nullptr},
               {kModelFPA, kPageCross, 0, {}, "ExitCrossToNormalPanel"},
               {kModelFSB, kPageStep, 0, {}, "ExitStepToNormalPanel"},
               {kModelFCS, kPageTHD, 0, {}, "ExitTHDToNormalPanel"},
               {kModelFL, kPageList, 0, {}, "ExitListToNormalPanel"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Model << " page " << c.Page);
    Restart();
    gCurrentPage = c.Page;
    gPowerInfo.Alarming = c.Alarming;
    source_.RunState = c.Alarming ? 9 : 0;
    ASSERT_TRUE(Connect(c.Model));
    EXPECT_EQ(SentSince(ExpectedConnect(c.Model, kCommLAN).size()), c.Then);
    if (c.Exit) {
      EXPECT_TRUE(hooks_.Has(c.Exit));
      EXPECT_EQ(gCurrentPage, kPageMain);
    }
  }
}

// ---- Writing all normal groups ----

Strings WriteAll(int groups, bool selectGroup) {
  Strings out = {"5A 30"};
  for (int g = 0; g < groups; ++g)
    out.push_back(Name("5A 21", g));
  if (selectGroup)
    out.push_back("5A 11 2");
  return out;
}

TEST_F(SchedulerExchange, WriteAllWritesEveryGroupAndFSAndFLEndWithoutASelection) {
  const std::pair<int32_t, Strings> cases[] = {{kModelFCT, WriteAll(7, true)},
                                               {kModelFSA, WriteAll(10, false)},
                                               {kModelFL, WriteAll(10, false)},
                                               {kModelFPB, WriteAll(10, true)},
                                               {kModelGS, WriteAll(10, true)}};
  for (const auto &[model, expected] : cases) {
    Restart();
    ASSERT_TRUE(Connect(model));
    gCurrentNormalGroup = 2;
    gCommInfo.NormalDataOk = gCommInfo.SystemDataOk = 0;
    const size_t before = source_.Sent.size();
    CommSetNewCmdGroup(kGroupWriteNormalAll);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(SentSince(before), expected) << model;
    EXPECT_EQ(CommGroupFrames(kGroupWriteNormalAll), int(expected.size()));
    EXPECT_EQ(gCommInfo.NormalDataOk + gCommInfo.SystemDataOk, 2);
    EXPECT_EQ(gCommInfo.NoReplyCount, 0);
  }
}

// ---- Programs and THD ----

Strings THDFrames(const char *cmd1, int32_t commType, std::vector<int> groups) {
  Strings out;
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

TEST_F(SchedulerExchange, AProgramExchangeRunsEveryFrameAndMarksTheDataExchanged) {
  const struct {
    int32_t Model, CommType;
    int Group;
    Strings Expected;
    int32_t CommInfo::*Flag;
    const char *Shown; // hook called at the end (nullptr: none checked)
  } cases[] = {{kModelFPA, LAN, kGroupReadList, ProgramRead("A5 23", "A5 24", 100),
                &CommInfo::ListDataOk, "RefreshListSetGraph(1,1,1)"},
               {kModelGS, LAN, kGroupReadRamp, ProgramRead("A5 25", "A5 26", 100),
                &CommInfo::RampDataOk, "DataFPFromRampVarToPanel"},
               {kModelGS, LAN, kGroupReadCross, ProgramRead("A5 28", "A5 29", 8),
                &CommInfo::CrossDataOk, "DataFPFromCrossVarToPanel"},
               {kModelFPB, LAN, kGroupReadTHD, THDFrames("A5", LAN, kAllTHD), &CommInfo::THDDataOk,
                "DataFPFromTHDVarToPanel"},
               {kModelFPA, GPIB, kGroupReadTHD, THDFrames("A5", GPIB, kAllTHD),
                &CommInfo::THDDataOk, "DataFPFromTHDVarToPanel"},
               {kModelFPA, LAN, kGroupWriteList, ProgramRead("5A 23", "5A 24", 100),
                &CommInfo::ListDataOk, nullptr},
               {kModelFPB, GPIB, kGroupWriteRamp, ProgramRead("5A 25", "5A 26", 100),
                &CommInfo::RampDataOk, nullptr},
               {kModelGS, LAN, kGroupWriteCross, ProgramRead("5A 28", "5A 29", 8),
                &CommInfo::CrossDataOk, nullptr},
               {kModelGS, LAN, kGroupWriteTHDAll, THDFrames("5A", LAN, kAllTHD),
                &CommInfo::THDDataOk, "CheckAndSetTHDDownloadButton"},
               {kModelFPA, GPIB, kGroupWriteTHDAll, THDFrames("5A", GPIB, kAllTHD),
                &CommInfo::THDDataOk, "CheckAndSetTHDDownloadButton"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Group);
    Restart();
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
}

TEST_F(SchedulerExchange, OnlyTheMarkedTHDGroupsAreWrittenAndTheirMarksCleared) {
  for (int32_t commType : {LAN, GPIB}) {
    Restart();
    ASSERT_TRUE(Connect(kModelGS, commType));
    gTHDNeedDownload[2] = gTHDNeedDownload[7] = gTHDNeedDownload[9] = 1;
    const size_t before = source_.Sent.size();
    CommSetNewCmdGroup(kGroupWriteTHDMarked);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(SentSince(before), THDFrames("5A", commType, {2, 7, 9}));
    EXPECT_EQ(CheckTHDNeedToDownload(), 0);
    EXPECT_TRUE(hooks_.Has("CheckAndSetTHDDownloadButton"));
  }
  // Nothing marked: the request takes its queue entry and sends nothing.
  const size_t after = source_.Sent.size();
  CommSetNewCmdGroup(kGroupWriteTHDMarked);
  EXPECT_EQ(gCommNewCmd.Count, 1);
  Ticks(1);
  EXPECT_EQ(gCommNewCmd.Count, 0);
  EXPECT_EQ(source_.Sent.size(), after);
}

} // namespace
