// The List panel's controls in the program-panel frame, and the Ramp
// panel's: the same panel built for either kind, the Ramp one with a start
// and a stop control for every voltage and frequency. The header tabs
// (output mode, start and stop step, repeat count; angles), the step
// selector, the step's controls per phase, the two GS notes, the preview
// graph and the ten texts of the five-step window. What they show comes
// from ListPanelState (programs/ListPanelFunc.h).
#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "programs/ListPanelFunc.h"
#include "programs/gui/ProgramPanels.h"
#include "ui/SettingPages.h"

class QChartView;

// Pages of the header tabs.
enum ListTabPage : int {
  kListTabHeader = 0,
  kListTabAngle = 1,
};

class ListPanel : public ProgramPanel {
  Q_OBJECT
public:
  // kind: kProgramList or kProgramRamp.
  explicit ListPanel(ProgramKind kind, QWidget *parent = nullptr);
  void setLayoutTexts(int language) override;
  // Voltage and frequency controls per phase: 1 on List, 2 (start, stop) on Ramp.
  int ends() const { return Ends; }

  QTabWidget *Tabs;
  std::array<Ring *, kStepRingCount> RingOutMode;
  NumEntry *NumStartNo;
  NumEntry *NumStopNo;
  NumEntry *NumCircleDegree;
  AnglePageControls AnglePage;
  NumEntry *NumStepNo;
  // [end][phase]; end 1 only on Ramp.
  std::array<std::array<NumEntry *, 3>, 2> Vol{};
  std::array<std::array<NumEntry *, 3>, 2> Freq{};
  std::array<NumEntry *, 3> TimeH, TimeM, TimeS;
  std::array<Ring *, 3> RingWave;
  std::array<NumEntry *, 2> NumVolLine{}; // in place of phase U's voltages
  std::array<QLabel *, 3> Heading;
  QLabel *FollowU; // V and W run as U
  std::array<QLabel *, 2> GSNote;
  QChartView *Graph;
  // The five-step window: number and duration of each slot's step.
  std::array<QLabel *, kFiveStepSlots> WindowStep, WindowTime;

private:
  int Ends;
  QLabel *LabelOutMode, *LabelStartNo, *LabelStopNo, *LabelCircle, *LabelStepNo;
  QList<QLabel *> RowLabel;
};
