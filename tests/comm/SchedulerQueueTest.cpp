// The five-entry request queue: arrival order, a request already waiting,
// what a full queue does with output control, and the names in its messages.
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

std::vector<Request> Writes(int n, std::initializer_list<Request> more = {}) {
  std::vector<Request> out;
  for (int g = 0; g < n; ++g)
    out.push_back(Single(0x5A, 0x21, g));
  out.insert(out.end(), more);
  return out;
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

} // namespace
