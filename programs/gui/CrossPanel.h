// The Cross (voltage-dip) panel's controls in the program-panel frame: the
// program tab (start and stop entry, repeat count, the four standard
// profiles), the entry selector with the phase mask, the waveform rings and
// the nine values of the entry shown, and the preview graph. What they show
// comes from CrossPanelState (programs/CrossPanelFunc.h).
#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "programs/CrossPanelFunc.h"
#include "programs/gui/ProgramPanels.h"
#include "ui/SettingPages.h"

class QChartView;

class CrossPanel : public ProgramPanel {
  Q_OBJECT
public:
  explicit CrossPanel(QWidget *parent = nullptr);
  void setLayoutTexts(int language) override;

  QTabWidget *Tabs;
  NumEntry *NumStartNo;
  NumEntry *NumStopNo;
  NumEntry *NumCircleDegree;
  std::array<QPushButton *, kCrossStandardCount> BtStandard;
  NumEntry *NumEntryNo; // the entry selector
  Ring *RingOutChannel;
  std::array<Ring *, 3> RingWave;
  std::array<NumEntry *, kCrossValueCount> NumValue;
  QChartView *Graph;

private:
  WavePageControls WavePage;
  QLabel *LabelStartNo, *LabelStopNo, *LabelCircleDegree, *LabelStandard;
  QLabel *LabelEntryNo, *LabelOutChannel;
  std::array<QLabel *, kCrossValueCount> LabelValue;
};
