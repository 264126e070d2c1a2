#include "programs/CrossPanelFunc.h"

#include <algorithm>

#include "comm/CommScheduler.h"
#include "programs/StepPanelFunc.h"
#include "records/CommInfo.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"
#include "settings/ProgramSet.h"

namespace {

constexpr int kWriteCrossHeader = 40;
constexpr int kWriteCrossEntry = 41;
constexpr int kDelayTicks = 20; // the preview is redrawn 1 s after the last change
constexpr int kStandardEntries = 7;

bool Connected() { return gPowerInfo.Connected == 1; }

// The stored field of each value control and its scale.
struct ValueField {
  int32_t CrossSet::*Field;
  int Scale;
};
constexpr ValueField kValueFields[kCrossValueCount] = {
    {&CrossSet::RatingFreq, 100},  {&CrossSet::RatingVol, 10}, {&CrossSet::CrossAngle, 10},
    {&CrossSet::RatingTime, 1000}, {&CrossSet::DropVol, 10},   {&CrossSet::KeepTime, 1000},
    {&CrossSet::RiseTime, 1000},   {&CrossSet::ResumeVol, 10}, {&CrossSet::EndTime, 1000},
};

// Control limits, in display units, as the record check allows.
constexpr double kValueLimits[kCrossValueCount][2] = {
    {45, 65},       {0, 300},    {-60, 60}, {0.02, 99.999}, {0, 300},
    {0.02, 99.999}, {0, 99.999}, {0, 300},  {0.02, 99.999},
};

// A profile of the four buttons: rated voltage and frequency, dip level,
// hold time, the time dip plus ramp last, the level after the ramp.
struct Profile {
  int32_t RatingVol, RatingFreq, DropPercent, KeepTime, DipAndRise, ResumeVol;
};
// Voltages in 0.1 V, frequencies in 0.01 Hz, times in ms. The dip level is a
// percentage of the rated voltage.
constexpr Profile kProfiles[kCrossStandardCount] = {
    {2300, 5000, 0, 150, 1500, 2070},
    {1200, 6000, 15, 625, 3000, 1080},
    {2400, 5000, 0, 140, 1200, 2160},
    {2200, 5000, 20, 1000, 3000, 1980},
};
// All three phases, U+V, U+W, V+W, U, V, W.
constexpr int32_t kStandardChannels[kStandardEntries] = {7, 3, 5, 6, 1, 2, 4};

int CurrentEntry() { return std::clamp(gCrossListSet.CurrentNo, 0, kCrossEntryCount - 1); }

void Limit(NumView &view, double minimum, double maximum) {
  view.Min = minimum;
  view.Max = maximum;
}

void QueueWrite(int command, int param) {
  if (Connected())
    CommSetNewCmdSingleGroup(kCmdClassWrite, command, param);
}

} // namespace

void CrossPanelInit(CrossPanelState &panel) {
  DataGSCrossCheckAll();
  Limit(panel.StartNo, 0, kCrossEntryCount - 1);
  Limit(panel.StopNo, 0, kCrossEntryCount - 1);
  Limit(panel.CircleDegree, 1, 999999);
  Limit(panel.Entry, 0, kCrossEntryCount - 1);
  for (int v = 0; v < kCrossValueCount; ++v)
    Limit(panel.Value[v], kValueLimits[v][0], kValueLimits[v][1]);
  gRefreshProWaveDelay = 0;
  if (gCommInfo.CrossDataOk != 0)
    RefreshCrossSetGraph(panel.Graph, 1, 1, gCrossSetDisMode);
}

void DataFPFromCrossVarToPanel(CrossPanelState &panel) {
  CrossListSet &h = gCrossListSet;
  if (h.StopNo < h.StartNo)
    h.StopNo = h.StartNo;
  const bool running = gPowerInfo.OutputRunning != 0;
  panel.StartNo.Value = h.StartNo;
  panel.StopNo.Value = h.StopNo;
  panel.CircleDegree.Value = h.CircleDegree;
  for (NumView *view : {&panel.StartNo, &panel.StopNo, &panel.CircleDegree})
    view->Dimmed = running;
  for (KeyView &key : panel.Standard)
    key.Dimmed = running;

  const int e = CurrentEntry();
  const CrossSet &c = gCrossSet[e];
  panel.Entry.Value = e;
  panel.OutChannel.Value = c.OutChannel;
  panel.Wave[0].Value = c.WaveU;
  panel.Wave[1].Value = c.WaveV;
  panel.Wave[2].Value = c.WaveW;
  for (int v = 0; v < kCrossValueCount; ++v)
    panel.Value[v].Value = double(c.*kValueFields[v].Field) / kValueFields[v].Scale;
  panel.Entry.Dimmed = panel.OutChannel.Dimmed = running;
  for (RingView &ring : panel.Wave)
    ring.Dimmed = running;
  for (NumView &view : panel.Value)
    view.Dimmed = running;
  gRefreshProWaveDelay = kDelayTicks;
}

void DataFPFromPanelToCrossListVar(CrossPanelState &panel) {
  CrossListSet &h = gCrossListSet;
  int32_t start = int32_t(panel.StartNo.Value);
  int32_t stop = int32_t(panel.StopNo.Value);
  if (stop < start) {
    // The end the user did not move stays where it is.
    if (start == h.StartNo)
      stop = start;
    else
      start = stop;
  }
  h.StartNo = start;
  h.StopNo = stop;
  h.CircleDegree = int32_t(panel.CircleDegree.Value);
}

void DataFPFromPanelToCrossVar(CrossPanelState &panel) {
  CrossSet &c = gCrossSet[CurrentEntry()];
  c.OutChannel = panel.OutChannel.Value;
  c.WaveU = panel.Wave[0].Value;
  c.WaveV = panel.Wave[1].Value;
  c.WaveW = panel.Wave[2].Value;
  for (int v = 0; v < kCrossValueCount; ++v)
    c.*kValueFields[v].Field = StepPanelToStored(panel.Value[v].Value, kValueFields[v].Scale);
}

void CrossHeaderChanged(CrossPanelState &panel) {
  if (GuardAlarm()) {
    DataFPFromCrossVarToPanel(panel);
    return;
  }
  DataFPFromPanelToCrossListVar(panel);
  DataFPFromCrossVarToPanel(panel);
  QueueWrite(kWriteCrossHeader, 0);
}

void CrossEntryChanged(CrossPanelState &panel) {
  if (GuardAlarm()) {
    DataFPFromCrossVarToPanel(panel);
    return;
  }
  DataFPFromPanelToCrossVar(panel);
  DataFPFromCrossVarToPanel(panel);
  QueueWrite(kWriteCrossEntry, CurrentEntry());
}

void CrossEntrySelected(CrossPanelState &panel) {
  gCrossListSet.CurrentNo = std::clamp(int32_t(panel.Entry.Value), 0, kCrossEntryCount - 1);
  DataFPFromCrossVarToPanel(panel);
  // Another entry is only shown: the preview stays as it is.
  gRefreshProWaveDelay = 0;
}

void SetCrossStandardStepAll(int k) {
  const Profile &p = kProfiles[std::clamp(k, 0, kCrossStandardCount - 1)];
  gCrossListSet.StartNo = 0;
  gCrossListSet.StopNo = kStandardEntries - 1;
  for (int e = 0; e < kStandardEntries; ++e) {
    CrossSet &c = gCrossSet[e];
    c.OutChannel = kStandardChannels[e];
    c.WaveU = c.WaveV = c.WaveW = 0;
    c.RatingVol = p.RatingVol;
    c.RatingFreq = p.RatingFreq;
    c.RatingTime = 1000;
    c.CrossAngle = 0;
    c.DropVol = p.RatingVol * p.DropPercent / 100;
    c.KeepTime = p.KeepTime;
    c.RiseTime = p.DipAndRise - p.KeepTime;
    c.ResumeVol = p.ResumeVol;
    c.EndTime = 1000;
  }
}

bool CrossStandardKey(CrossPanelState &panel, int k) {
  if (GuardAlarm())
    return false;
  SetCrossStandardStepAll(k);
  DataFPFromCrossVarToPanel(panel);
  return true;
}

void CrossWriteProgram() {
  if (Connected())
    CommSetNewCmdGroup(kGroupWriteCross);
}

void CrossFileLoadedAll(CrossPanelState &panel) { DataFPFromCrossVarToPanel(panel); }

void CrossFileLoadedOne(CrossPanelState &panel) {
  DataFPFromCrossVarToPanel(panel);
  QueueWrite(kWriteCrossEntry, CurrentEntry());
}

void CrossDisplayMode(CrossPanelState &panel, int mode) {
  if (mode == gCrossSetDisMode)
    return;
  gCrossSetDisMode = mode;
  RefreshCrossSetGraph(panel.Graph, 0, 1, mode);
  MenuCrossSetWaveMode(panel, 0, mode);
}

void MenuCrossSaveLoadDimmed(CrossPanelState &panel, int busy) { panel.SaveLoadDimmed = busy != 0; }

void MenuCrossSetWaveMode(CrossPanelState &panel, int dim, int mode) {
  panel.DisModeDimmed = dim != 0;
  panel.DisModeChecked = mode;
}
