// Programs that run: the source's clock is moved forward and the program
// reads the position through its own status decoder.
#include "SimTestLink.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Writes the program's records of one program kind, enters its mode and
// switches the output on, as the program panels do.
void Start(SimTestLink &link, std::initializer_list<std::pair<int, int>> writes, int enterMode) {
  for (auto [cmd2, count] : writes)
    for (int i = 0; i < count; ++i)
      ASSERT_EQ(link.Exchange(0x5A, cmd2, i), 1) << std::hex << cmd2 << " " << i;
  ASSERT_EQ(link.Exchange(0x5A, enterMode), 1);
  ASSERT_EQ(link.Exchange(0x0F, 0xFF), 1);
}

void Poll(SimTestLink &link) { ASSERT_EQ(link.Exchange(0xF0, 0xEB), 1); }

struct ListPoint {
  int64_t AtMs;
  int Running;
  int32_t Cycle, Step, Time, Length, VolU;
};

TEST(SimRun, AListProgramSkipsEmptyStepsAndRepeats) {
  SimTestLink link(kModelFPA);
  gListSet = {1, 3, 2, 0, 1200, 1200, 2400, 0};
  for (int n = 0; n < kProgramStepCount; ++n)
    for (auto &p : gListListSet[n].Phase)
      p = {1000 + 100 * n, 0, 5000 + n, 0, 0, 0, 0};
  gListListSet[0].Phase[0].TimeS2P = 500; // before StartNo: not run
  gListListSet[1].Phase[0].TimeS2P = 100;
  gListListSet[2].Phase[0].TimeS2P = 0; // no length: skipped
  gListListSet[3].Phase[0].TimeS2P = 200;
  gListListSet[4].Phase[0].TimeS2P = 700; // after StopNo: not run
  Start(link, {{0x23, 1}, {0x24, 5}}, 0x13);
  const ListPoint points[] = {
      {500, 1, 1, 1, 50, 100, 1100},   {1000, 1, 1, 3, 0, 200, 1300},
      {2999, 1, 1, 3, 199, 200, 1300}, {3000, 1, 2, 1, 0, 100, 1100},
      {5500, 1, 2, 3, 150, 200, 1300}, {6000, 0, 0, 0, 0, 0, 0},
  };
  int64_t now = 0;
  for (const ListPoint &p : points) {
    SCOPED_TRACE(p.AtMs);
    link.device->AdvanceMs(p.AtMs - now);
    now = p.AtMs;
    Poll(link);
    EXPECT_EQ(gPowerInfo.OutputRunning, p.Running);
    EXPECT_EQ(link.device->Outputs()[1].Vol, p.VolU);
    if (!p.Running)
      continue;
    EXPECT_EQ(gPowerState.RunState, 176);
    EXPECT_EQ(gPowerState.RunCycle, p.Cycle);
    EXPECT_EQ(gPowerState.RunStepU, p.Step);
    EXPECT_EQ(gPowerState.RunStepTimeU, p.Time);
    EXPECT_EQ(gPowerState.RunStepLengthU, p.Length);
  }
}

struct CrossPoint {
  int64_t AtMs;
  int32_t Entry, Time, VolU, VolV;
};

TEST(SimRun, ACrossEntryDipsTheChosenPhasesAndRecovers) {
  SimTestLink link(kModelGS);
  gCrossListSet = {2, 3, 1, 0};
  gCrossSet[2] = {1, 0, 0, 0, 2200, 5000, 1000, 0, 220, 500, 1000, 1980, 500};
  gCrossSet[3] = {7, 0, 0, 0, 2300, 6000, 100, 0, 0, 100, 0, 2300, 100};
  Start(link, {{0x28, 1}, {0x29, 8}}, 0x18);
  const CrossPoint points[] = {
      {999, 2, 999, 2200, 2200},   {1200, 2, 1200, 220, 2200}, {2000, 2, 2000, 1100, 2200},
      {2600, 2, 2600, 1980, 2200}, {3150, 3, 150, 0, 0},
  };
  int64_t now = 0;
  for (const CrossPoint &p : points) {
    SCOPED_TRACE(p.AtMs);
    link.device->AdvanceMs(p.AtMs - now);
    now = p.AtMs;
    Poll(link);
    EXPECT_EQ(gPowerInfo.OutputRunning, 1);
    EXPECT_EQ(gPowerState.RunState, 208);
    EXPECT_EQ(gPowerState.RunCycle, 1);
    EXPECT_EQ(gPowerState.RunStepU, p.Entry);
    EXPECT_EQ(gPowerState.RunStepTimeU, p.Time);
    const auto out = link.device->Outputs();
    EXPECT_EQ(out[0].Vol, p.VolU);
    EXPECT_EQ(out[1].Vol, p.VolV);
  }
  link.device->AdvanceMs(3300 - now);
  Poll(link);
  EXPECT_EQ(gPowerInfo.OutputRunning, 0);
}

} // namespace
