// The Step preview's progress: 64-bit arithmetic over StepCnt + 1 steps, no
// division by zero, and a step the program does not have is ignored. The
// List, Ramp and Cross previews: phases of different lengths, steps outside
// start..stop, ramps, a program of no length, progress and a new cycle.
#include "programs/ProgramGraph.h"

#include <gtest/gtest.h>

#include "FieldList.h"
#include "comm/FPBlocks.h"
#include "records/Globals.h"
#include "settings/ProgramSet.h"

namespace {

TEST(StepGraph, ProgressCount) {
  const struct {
    const char *Name;
    int OutMode, StepCnt, Hours, Hundredths;
    int RunStep, TimeInStep, StepLength;
    int Expected;
  } cases[] = {
      {"whole steps", 0, 9, 0, 100, 2, 0, 100, 80},
      {"and the part of the step", 0, 9, 0, 100, 2, 50, 100, 100},
      {"one step by its time", 0, 0, 0, 100, 0, 50, 100, 200},
      {"no time at all", 0, 0, 0, 0, 0, 50, 0, 0},
      {"a step beyond the program keeps the last count", 0, 9, 0, 100, 12, 0, 100, 77},
      {"the last step stays below the end", 0, 9999, 0, 100, 9999, 99, 100, 399},
      {"99 h steps in separate mode", 1, 9999, 99, 5998, 5000, 0, 0, 200},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    ResetProgramState();
    gPowerInfo.Connected = gPowerInfo.OutputRunning = 1;
    StepSet &s = gStepSet;
    s.OutMode = c.OutMode;
    s.StepCntU = s.StepCntV = s.StepCntW = c.StepCnt;
    s.StepTimeHU = s.StepTimeHV = s.StepTimeHW = c.Hours;
    s.StepTimeS2PU = s.StepTimeS2PV = s.StepTimeS2PW = c.Hundredths;
    PowerState &st = gPowerState;
    st.RunState = kRunStep;
    st.RunStepU = st.RunStepV = st.RunStepW = c.RunStep;
    st.RunStepTimeU = st.RunStepTimeV = st.RunStepTimeW = c.TimeInStep;
    st.RunStepLengthU = c.StepLength;
    ProgramGraphView graph;
    graph.LastProgress = 77;
    RefreshStepSetGraph(graph, 1, 1, 1);
    EXPECT_EQ(graph.Progress, c.Expected);
  }
}

TEST(StepGraph, VoltagesAreDrawnWithin0To300V) {
  ResetProgramState();
  SetFields(gStepSet,
            "VolStartU=2900 VolStepU=100 StepCntU=3 VolStartV=100 VolStepV=-100 StepCntV=3");
  ProgramGraphView graph;
  RefreshStepSetGraph(graph, 1, 1, 1);
  const auto &p = graph.Points;
  EXPECT_EQ((std::array{p[0].front(), p[0].back(), p[1].front(), p[1].back()}),
            (std::array{290.0, 300.0, 10.0, 0.0}));
  EXPECT_EQ(graph.Progress, 0); // not running
}

// Entries 1 and 2 of 3.6 s each: entry 1 dips U only, V stays rated; the
// progress counts from the start entry, ignores an entry outside the
// program and redraws when it falls back (a new cycle).
TEST(CrossGraph, MaskRiseAndProgress) {
  ResetProgramState();
  DataFPInitCrossAll();
  gCrossListSet.StartNo = 1;
  gCrossListSet.StopNo = 2;
  gCrossSet[1].OutChannel = 1;
  ProgramGraphView graph;
  RefreshCrossSetGraph(graph, 1, 1, 1);
  // Point i is t = 7200 ms x i / 800: 145 is 1305 ms (dip), 234 is 2106 ms
  // (506 ms into the rise from 22.0 V to 198.0 V over 1 s: 111.0 V).
  EXPECT_EQ(std::pair(graph.Points[0][0], graph.Points[1][0]), std::pair(220.0, 220.0));
  EXPECT_EQ(std::pair(graph.Points[0][145], graph.Points[1][145]), std::pair(22.0, 220.0));
  EXPECT_EQ(graph.Points[0][234], 111.0);
  EXPECT_EQ(graph.Points[2][534], 22.0); // 4806 ms: entry 2 dips W too

  gPowerInfo.Connected = gPowerInfo.OutputRunning = 1;
  gPowerState.RunState = kRunCross;
  const struct {
    int Entry, TimeInEntry, Expected;
  } runs[] = {{2, 1800, 600}, {0, 0, 600}, {1, 0, 1}};
  for (const auto &r : runs) {
    gPowerState.RunStepU = r.Entry;
    gPowerState.RunStepTimeU = r.TimeInEntry;
    const uint32_t revision = graph.Revision;
    RefreshCrossSetGraph(graph, 0, 0, 1);
    EXPECT_EQ(graph.Progress, r.Expected) << r.Entry;
    EXPECT_EQ(graph.Revision != revision, r.Expected == 1) << "redrawn";
  }
}

// Steps 0 and 1 of a List program in separate mode (step 2 lies after the
// stop): U 1 s at 100 V then 1 s at 200 V, V 3 s at 50 V then 1 s at 60 V,
// W 1 s at 120 V then nothing. The program lasts V's 4 s: point i is at
// 0.4 i hundredths.
void SeparateList() {
  ResetProgramState();
  gListSet.StartNo = 0;
  gListSet.StopNo = 1;
  gListSet.OutMode = 1;
  const int32_t volts[3][3] = {{1000, 2000, 2990}, {500, 600, 2990}, {1200, 2990, 2990}};
  const int32_t times[3][3] = {{100, 100, 100}, {300, 100, 100}, {100, 0, 100}};
  for (int s = 0; s < 3; ++s)
    for (int phase = 0; phase < 3; ++phase) {
      gListListSet[s].Phase[phase].Vol = volts[phase][s];
      gListListSet[s].Phase[phase].TimeS2P = times[phase][s];
    }
}

TEST(ListGraph, ShorterPhasesHoldTheirLastValue) {
  SeparateList();
  ProgramGraphView graph;
  RefreshListSetGraph(graph, 1, 1, 1);
  const struct {
    int Phase, Point;
    double Volts;
  } cases[] = {{0, 0, 100},  {0, 249, 100}, {0, 250, 200}, {0, 999, 200}, {1, 749, 50},
               {1, 750, 60}, {1, 999, 60},  {2, 249, 120}, {2, 999, 120}};
  for (const auto &c : cases)
    EXPECT_EQ(graph.Points[c.Phase][c.Point], c.Volts) << c.Phase << " " << c.Point;
  EXPECT_FALSE(graph.NoLength);
}

TEST(RampGraph, RampsInsideAStep) {
  ResetProgramState();
  gRampSet.StartNo = gRampSet.StopNo = 0;
  RampPhase &u = gRampRampSet[0].Phase[0];
  u.VolStart = 1000;
  u.VolStop = 2000;
  u.TimeS2P = 200;
  ProgramGraphView graph;
  RefreshRampSetGraph(graph, 1, 1, 2);
  // t = 100 of 200: half way; t = 199 (199.8 truncated): 1000 + 995.
  EXPECT_EQ(graph.Points[0][500], 150.0);
  EXPECT_EQ(graph.Points[0][999], 199.5);
  EXPECT_EQ(graph.Points[2][500], 150.0); // balanced: W as U
}

TEST(ListGraph, Progress) {
  const struct {
    const char *Name;
    int Hours; // of every step 0..99 (-1: of no length), 0: the separate program above
    int RunStep, TimeInStep;
    int Expected;
  } cases[] = {
      {"V's step 1 is the furthest", 0, 1, 50, 1000 * (300 + 50) / 400},
      {"a step after the stop is ignored", 0, 2, 0, 77},
      {"a step beyond 99 is ignored", 0, 100, 0, 77},
      {"a new cycle falls back", 0, 0, 0, 0},
      {"99 h steps in 64 bits", 99, 50, 0, 500},
      {"a program of no length draws nothing", -1, 50, 0, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    SeparateList();
    if (c.Hours != 0) {
      gListSet.StopNo = 99;
      for (auto &step : gListListSet)
        for (ListPhase &p : step.Phase)
          p.TimeH = std::max(c.Hours, 0), p.TimeS2P = 0;
    }
    gPowerInfo.Connected = gPowerInfo.OutputRunning = 1;
    PowerState &st = gPowerState;
    st.RunState = kRunList;
    st.RunStepU = st.RunStepV = st.RunStepW = c.RunStep;
    st.RunStepTimeU = st.RunStepTimeV = st.RunStepTimeW = c.TimeInStep;
    ProgramGraphView graph;
    RefreshListSetGraph(graph, 1, 0, 1);
    graph.LastProgress = 77;
    const uint32_t revision = graph.Revision;
    RefreshListSetGraph(graph, 0, 0, 1);
    EXPECT_EQ(graph.Progress, c.Expected);
    EXPECT_EQ(graph.NoLength, c.Hours < 0);
    EXPECT_EQ(graph.Points[0] == std::vector<double>(kListGraphPoints, 0.0), c.Hours < 0);
    // A count that fell redraws the whole graph first.
    EXPECT_EQ(graph.Revision, revision + (c.Expected < 77 ? 1 : 0));
  }
}

} // namespace
