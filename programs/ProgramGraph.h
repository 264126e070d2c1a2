// The preview graphs of the program panels: the voltage of each phase over
// the whole program, and while a program runs the part already executed
// drawn over it (the progress count); the List and Ramp panels also a window
// of five steps around the step being edited. The window draws the curves
// (W, V, U, in the phase colours), the progress and the five-step window from
// this record; the THD panel's one period of its waveform uses the same record.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

constexpr int kStepGraphPoints = 400;
constexpr int kTHDGraphPoints = 360;
constexpr int kListGraphPoints = 1000; // List and Ramp
constexpr int kCrossGraphPoints = 800;
constexpr double kFiveStepWidth = 100.0; // x-axis of the five-step window
constexpr int kFiveStepSlots = 5;

// A straight line of the five-step window, in the window's units (x 0..100,
// volts).
struct GraphLine {
  double X1, Y1, X2, Y2;
};

// The five-step window: slot 3 (x 40..60) the current step, slots 1 and 2
// the two steps before it, 4 and 5 the two after it. A List step is a
// horizontal line, the current one a filled band of +-3 V; a Ramp step a
// sloped line, the current one seven parallel lines -3..+3 V apart.
struct FiveStepWindow {
  std::vector<GraphLine> Lines;
  bool BandShown = false; // List: the current step as a filled band
  double BandX1 = 0, BandX2 = 0, BandY1 = 0, BandY2 = 0;
  // Beside the graph: number and duration (s) of each slot's step, 0 for a
  // step that does not exist.
  std::array<int, kFiveStepSlots> Step{};
  std::array<double, kFiveStepSlots> Seconds{};
};

struct ProgramGraphView {
  // Volts per point, phase U, V, W. Kept between redraws, so a redraw
  // without recomputation shows the last computed values.
  std::array<std::vector<double>, 3> Points;
  std::array<bool, 3> Shown{};   // phases drawn
  double YMin = 0, YMax = 300;   // y-axis range
  int Progress = 0;              // first points drawn again as executed; 0 none
  int64_t LastProgress = 0;      // progress of the previous call
  uint32_t Revision = 0;         // goes up with every full redraw
  uint32_t ProgressRevision = 0; // goes up with every progress drawing
  // List, Ramp and Cross: the program has no length (every step outside
  // start..stop or of time 0); the graph is empty and says why.
  bool NoLength = false;
  // List and Ramp display modes 5..7: the five-step window in place of the
  // curves.
  bool WindowShown = false;
  FiveStepWindow Window;
};

// The number of points of a graph of `points` that an elapsed time of a
// total shows as executed: points x elapsed / total in 64 bits, lowered to
// points - 1, and 1 at least; 0 when the total is not positive.
int ProgressCount(int points, int64_t elapsed, int64_t total);

// Phases shown by a display mode: 1 all, 2 U, 3 V, 4 W.
std::array<bool, 3> PhasesOfDisMode(int mode);

// A step time in 0.01 s: hours x 360000 + minutes x 6000 + hundredths.
int64_t StepTimeHundredths(int32_t hours, int32_t minutes, int32_t hundredths);

// The Step preview of gStepSet: recompute the 400 points (recompute != 0),
// redraw the whole graph (redraw != 0, or forced when the progress count
// fell, as at a new cycle), and while connected and running the progress
// from gPowerState. A step index beyond the program leaves the progress as
// it was.
void RefreshStepSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode);

// The List and Ramp previews of gListSet / gListListSet and gRampSet /
// gRampRampSet, display modes 1..4 over the whole program: recompute the
// 1000 points (every step inside start..stop for its own time, a phase whose
// program is shorter holding its last value; Ramp steps linear from start to
// stop voltage), redraw (or forced when the progress count fell, as at a new
// cycle), and while connected and running the progress from gPowerState; a
// reported step outside the program leaves the progress as it was. Modes
// 5..7: the five-step window around CurrentNo for phase U, V or W, always
// drawn, without recomputing the curves.
void RefreshListSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode);
void RefreshRampSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode);
// The Cross preview of gCrossListSet and gCrossSet over 800 points: per
// entry in start..stop the rated voltage, the dip, the linear rise and the
// resume voltage of the phases in its mask (the others stay at the rated
// voltage); recompute, redraw and progress as for Step. A running entry
// beyond the program leaves the progress as it was; a program of no length
// draws nothing.
void RefreshCrossSetGraph(ProgramGraphView &graph, int recompute, int redraw, int mode);

// One period of a THD group (synthesised first when stale) in units of its
// RMS, so a pure sine peaks at about 1.414.
void DrawTHDPanelGraph(ProgramGraphView &graph, int group);
