// Shared fixture of the main-panel tests: a clean program state, recording
// hooks, a panel state with fixed alarm texts, and the request queue read
// back in order.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/MainPanelState.h"
#include "settings/NormalSet.h"

struct QueuedCommand {
  int Group, Cmd1, Cmd2, Param;
  bool operator==(const QueuedCommand &) const = default;
};

// The requests waiting in gCommNewCmd, oldest first.
inline std::vector<QueuedCommand> QueuedCommands() {
  std::vector<QueuedCommand> out;
  int index = gCommNewCmd.ReadIndex;
  for (int n = 0; n < gCommNewCmd.Count; ++n) {
    if (index >= kCommQueueSize) {
      index = 0;
    }
    out.push_back({gCommNewCmd.Group[index], gCommNewCmd.Cmd1[index], gCommNewCmd.Cmd2[index],
                   gCommNewCmd.Param[index]});
    ++index;
  }
  return out;
}

// A single-frame request as the panels queue it.
inline QueuedCommand Single(int cmd1, int cmd2, int param) { return {15, cmd1, cmd2, param}; }

inline void PrintTo(const QueuedCommand &c, std::ostream *os) {
  *os << "(" << c.Cmd1 << ", " << c.Cmd2 << ", " << c.Param << ") group " << c.Group;
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
