// The Step program panel's controls in the program-panel frame: the mode
// tabs (output mode, waveforms, angles), the grid of start values, steps,
// counts and step times per phase, the two GS notes and the preview graph.
// What they show comes from StepPanelState (programs/StepPanelFunc.h).
#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "programs/StepPanelFunc.h"
#include "programs/gui/ProgramPanels.h"
#include "ui/SettingPages.h"

class QChartView;

// Pages of the mode tabs.
enum StepTabPage : int {
  kStepTabMode = 0,
  kStepTabWave = 1,
  kStepTabAngle = 2,
};

// Rows of the grid, in order.
enum StepGridRow : int {
  kRowVolStart,
  kRowVolStep,
  kRowFreqStart,
  kRowFreqStep,
  kRowStepCnt,
  kRowTimeH,
  kRowTimeM,
  kRowTimeS,
  kStepGridRows,
};

class StepPanel : public ProgramPanel {
  Q_OBJECT
public:
  explicit StepPanel(QWidget *parent = nullptr);
  void setLayoutTexts(int language) override;

  QTabWidget *Tabs;
  std::array<Ring *, kStepRingCount> RingOutMode;
  std::array<Ring *, 3> RingWave;
  AnglePageControls AnglePage;
  // Grid[row][phase]
  std::array<std::array<NumEntry *, 3>, kStepGridRows> Grid;
  NumEntry *NumVolLineStart; // in place of phase U's start voltage
  NumEntry *NumVolLineStep;  // in place of phase U's voltage step
  std::array<QLabel *, 3> Heading;
  std::array<QLabel *, 2> GSNote;
  QChartView *Graph;

private:
  WavePageControls WavePage;
  QLabel *LabelOutMode;
  std::array<QLabel *, kStepGridRows> RowLabel;
};
