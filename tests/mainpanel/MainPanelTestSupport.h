// Shared fixture of the main-panel tests: a clean program state, recording
// hooks, a panel state with fixed alarm texts, and the request queue read
// back in order.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/MainPanelState.h"
#include "settings/NormalSet.h"

// A request waiting in the queue: a single command unless a group is named.
struct Queued {
  int Cmd1, Cmd2, Param;
  int Group = kGroupSingle;
  bool operator==(const Queued &) const = default;
};

// The requests waiting in gCommNewCmd, oldest first.
inline std::vector<Queued> QueuedCommands() {
  std::vector<Queued> out;
  for (int n = 0, i = gCommNewCmd.ReadIndex; n < gCommNewCmd.Count;
       ++n, i = (i + 1) % kCommQueueSize)
    out.push_back(
        {gCommNewCmd.Cmd1[i], gCommNewCmd.Cmd2[i], gCommNewCmd.Param[i], gCommNewCmd.Group[i]});
  return out;
}

// A single-frame request as the panels queue it.
inline Queued Single(int cmd1, int cmd2, int param) { return {cmd1, cmd2, param}; }

inline void PrintTo(const Queued &q, std::ostream *os) {
  *os << "(" << q.Cmd1 << ", " << q.Cmd2 << ", " << q.Param << ") group " << q.Group;
}

// Alarm texts of the tests: "E###" for the generic item, "item N" otherwise,
// and a Chinese generic text whose first character takes three bytes.
inline std::string FixedItemText(int language, int item) {
  if (item == 328) {
    return language == 1 ? "E### alarm" : "警###报警";
  }
  return (language == 1 ? "item " : "条目 ") + std::to_string(item);
}

class MainPanelTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetProgramState();
    SetHooks(&hooks);
    hooks.Messages.clear();
    panel = MainPanelState{};
    panel.ItemText = FixedItemText;
    gPowerInfo.Language = 1;
  }
  void TearDown() override { SetHooks(nullptr); }

  void UseFCT() { UseModel(kModelFCT); }
  // A model with default records, as after choosing it offline.
  void UseModel(int model) {
    gPowerInfo.ModelType = model;
    if (IsFCModel(model)) {
      DataFCInitAll();
      DataFCCheckAllByModel(model);
    } else {
      DataFPInitNormalAll();
    }
  }
  void Connect() { gPowerInfo.Connected = 1; }

  RecordingHooks hooks;
  MainPanelState panel;
};
