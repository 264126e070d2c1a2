// The five-entry request queue: arrival order, the ring indexes, requests
// already waiting, and what a full queue does with output control.
#include "SchedulerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A request: a group code, or a single frame (group 15) with its bytes.
struct Request {
  int Group;
  int Cmd1 = 0;
  int Cmd2 = 0;
  int Param = 0;
};

Request Single(int cmd1, int cmd2, int param = 0) { return {kGroupSingle, cmd1, cmd2, param}; }

void Queue(const Request &r) {
  if (r.Group == kGroupSingle)
    CommSetNewCmdSingleGroup(r.Cmd1, r.Cmd2, r.Param);
  else
    CommSetNewCmdGroup(r.Group);
}

// "15:5A 21 3" or "35:5A 23 0" for every waiting entry, oldest first.
Strings Waiting() {
  Strings out;
  const CommNewCmd &q = gCommNewCmd;
  for (int n = 0; n < q.Count; ++n) {
    const int slot = (q.ReadIndex + n) % kCommQueueSize;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02X %02X %d", q.Group[slot], q.Cmd1[slot], q.Cmd2[slot],
                  q.Param[slot]);
    out.emplace_back(text);
  }
  return out;
}

using SchedulerQueue = LinkTest;

TEST_F(SchedulerQueue, ASixthRequestIsDroppedAndTheFiveGoOutInArrivalOrder) {
  for (int g = 0; g < 5; ++g)
    CommSetNewCmdSingleGroup(0x5A, 0x21, g);
  EXPECT_EQ(gCommNewCmd.Count, 5);
  EXPECT_EQ(gCommNewCmd.WriteIndex, 5) << "wraps only at the next insertion";
  CommSetNewCmdSingleGroup(0x5A, 0x21, 5);
  EXPECT_EQ(gCommNewCmd.Count, 5);
  ASSERT_EQ(hooks_.Dropped.size(), 1u);
  EXPECT_NE(hooks_.Dropped[0].find("write normal group (5A 21, 5)"), std::string::npos)
      << hooks_.Dropped[0];

  ASSERT_EQ(CommReadNewCmdGroupToPresentGroup(), 1);
  CommSetNewCmdSingleGroup(0x5A, 0x21, 6);
  EXPECT_EQ(gCommNewCmd.WriteIndex, 1) << "wrapped to 0, then filled";
  while (CommReadNewCmdGroupToPresentGroup() == 1) {
  }
  EXPECT_EQ(gCommNewCmd.ReadIndex, 1) << "wraps as soon as it reaches 5";
  EXPECT_EQ(gCommNewCmd.Count, 0);
  EXPECT_EQ(source_.Names(),
            (Strings{"5A 21 0", "5A 21 1", "5A 21 2", "5A 21 3", "5A 21 4", "5A 21 6"}));
  EXPECT_EQ(CommReadNewCmdGroupToPresentGroup(), 0);
}

std::vector<Request> Writes(int n, std::initializer_list<Request> more = {}) {
  std::vector<Request> out;
  for (int g = 0; g < n; ++g)
    out.push_back(Single(0x5A, 0x21, g));
  out.insert(out.end(), more);
  return out;
}

TEST_F(SchedulerQueue, ARequestAlreadyWaitingIsNotQueuedTwiceUnlessOrderMatters) {
  const struct {
    std::vector<Request> Requests;
    Strings Expected;
  } cases[] = {{{Single(0x5A, 0x21, 3), Single(0x5A, 0x30), Single(0x5A, 0x21, 3)},
                {"15:5A 21 3", "15:5A 30 0"}},
               {{{kGroupReadList}, {kGroupReadList}}, {"19:A5 23 0"}},
               {{{kGroupWriteList}, Single(0x5A, 0x23)}, {"35:5A 23 0", "15:5A 23 0"}},
               {{Single(0x0F, 0xFF), Single(0x0F, 0x00), Single(0x0F, 0xFF)},
                {"15:0F FF 0", "15:0F 00 0", "15:0F FF 0"}},
               {{Single(0x5A, 0x12), Single(0x5A, 0x11, 0), Single(0x5A, 0x12)},
                {"15:5A 12 0", "15:5A 11 0", "15:5A 12 0"}}};
  for (const auto &c : cases) {
    gCommNewCmd = CommNewCmd{};
    gCommInfo = CommInfo{};
    for (const Request &r : c.Requests)
      Queue(r);
    EXPECT_EQ(Waiting(), c.Expected);
  }
  EXPECT_TRUE(hooks_.Dropped.empty());
}

TEST_F(SchedulerQueue, OutputControlIsNeverLostAndOtherOverflowIsTold) {
  const struct {
    std::vector<Request> Waiting;
    Request Newcomer;
    Strings Expected;
    const char *DroppedText; // nullptr: nothing dropped
  } cases[] = {{Writes(5),
                Single(0x0F, 0x00),
                {"15:5A 21 0", "15:5A 21 1", "15:5A 21 2", "15:5A 21 3", "15:0F 00 0"},
                "write normal group (5A 21, 4)"},
               // Output control waiting keeps its place before the newcomer.
               {Writes(4, {Single(0x0F, 0xFF)}),
                Single(0x0F, 0x00),
                {"15:5A 21 0", "15:5A 21 1", "15:5A 21 2", "15:0F FF 0", "15:0F 00 0"},
                "write normal group (5A 21, 3)"},
               {Writes(4, {{kGroupWriteList}}),
                Single(0x0F, 0xFF),
                {"15:5A 21 0", "15:5A 21 1", "15:5A 21 2", "15:5A 21 3", "15:0F FF 0"},
                "write List program"},
               {{Single(0x0F, 0xFF), Single(0x0F, 0x00), Single(0x0F, 0xFF), Single(0x0F, 0x00),
                 Single(0x0F, 0xFF)},
                Single(0x0F, 0x00),
                {"15:0F FF 0", "15:0F 00 0", "15:0F FF 0", "15:0F 00 0", "15:0F FF 0"},
                "output off (0F 00)"},
               {Writes(5),
                Single(0x5A, 0x30),
                {"15:5A 21 0", "15:5A 21 1", "15:5A 21 2", "15:5A 21 3", "15:5A 21 4"},
                "write system settings (5A 30)"},
               {Writes(5),
                Single(0x5A, 0x21, 2),
                {"15:5A 21 0", "15:5A 21 1", "15:5A 21 2", "15:5A 21 3", "15:5A 21 4"},
                nullptr}};
  for (const auto &c : cases) {
    gCommNewCmd = CommNewCmd{};
    gCommInfo = CommInfo{};
    hooks_.Dropped.clear();
    for (const Request &r : c.Waiting)
      Queue(r);
    Queue(c.Newcomer);
    EXPECT_EQ(Waiting(), c.Expected);
    ASSERT_EQ(hooks_.Dropped.size(), c.DroppedText ? 1u : 0u);
    if (c.DroppedText) {
      EXPECT_NE(hooks_.Dropped[0].find(c.DroppedText), std::string::npos) << hooks_.Dropped[0];
    }
    // The ring stays consistent: everything waiting comes out.
    const size_t before = source_.Sent.size();
    while (CommReadNewCmdGroupToPresentGroup() == 1) {
    }
    EXPECT_EQ(SentSince(before).size(), c.Expected.size());
  }
}

// Messages name the command they are about; the generic word is only for
// frames no family sends.
TEST_F(SchedulerQueue, EveryCommandOfEveryFamilyHasANameInBothLanguages) {
  for (int32_t model = kModelFCT; model <= kModelFL; ++model)
    for (int cmd1 : {0x0F, 0x5A, 0xA5, 0xF0})
      for (int cmd2 = 0; cmd2 < 256; ++cmd2) {
        if (!CommFindCommand(model, cmd1, cmd2))
          continue;
        for (int32_t language : {0, 1}) {
          gPowerInfo.Language = language;
          const std::string text = CommCommandText(cmd1, cmd2, 0);
          EXPECT_NE(text.rfind(language ? "command" : "命令", 0), 0u) << model << " " << text;
        }
      }
}

TEST_F(SchedulerQueue, TheDropIsToldInTheCurrentLanguage) {
  gPowerInfo.Language = 0;
  for (const Request &r : Writes(5))
    Queue(r);
  CommSetNewCmdGroup(kGroupReadRamp);
  ASSERT_EQ(hooks_.Dropped.size(), 1u);
  EXPECT_EQ(hooks_.Dropped[0], "电源通讯繁忙：“读取Ramp程序”未发送，请重试。");
}

TEST_F(SchedulerQueue, TakingShowsTheWaitPopupForExchangesAndOutputControlOnly) {
  struct Case {
    Request Req;
    bool Shown;
  };
  const Case cases[] = {{Single(0x5A, 0x21, 1), false},
                        {Single(0xA5, 0x22), false},
                        {Single(0x0F, 0xFF), true},
                        {{kGroupReadList}, true},
                        {{kGroupWriteTHDMarked}, false}}; // nothing marked: an empty entry
  for (const Case &c : cases) {
    gPowerInfo.WaitPanelShown = 0;
    hooks_.Calls.clear();
    Queue(c.Req);
    ASSERT_EQ(CommReadNewCmdGroupToPresentGroup(), 1);
    EXPECT_EQ(hooks_.Has("DisplayPanelWait(1)"), c.Shown) << c.Req.Group << " " << c.Req.Cmd1;
    EXPECT_EQ(gPowerInfo.WaitPanelShown, c.Shown ? 1 : 0);
  }
  // Shown already: no second popup.
  hooks_.Calls.clear();
  Queue({kGroupReadRamp});
  Queue(Single(0x0F, 0x00));
  CommReadNewCmdGroupToPresentGroup();
  CommReadNewCmdGroupToPresentGroup();
  EXPECT_EQ(hooks_.Count("DisplayPanelWait(1)"), 1);
}

} // namespace
