// The preview graphs of the program panels: the voltage of each phase over
// the whole program, and while a program runs the part already executed
// drawn over it (the progress count). The window draws the curves (W, V, U,
// in the phase colours) and the progress from this record; the THD panel's
// one period of its waveform uses the same record.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

constexpr int kStepGraphPoints = 400;
constexpr int kTHDGraphPoints = 360;
constexpr int kCrossGraphPoints = 800;

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
