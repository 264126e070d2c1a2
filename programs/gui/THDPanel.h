// The THD panel's controls in the program-panel frame: the group selector,
// Clear and Download, the harmonic tables of the two languages (only the
// current language's is shown) and the waveform graph. What they show comes
// from THDPanelState (programs/THDPanelFunc.h).
#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "programs/THDPanelFunc.h"
#include "programs/gui/ProgramPanels.h"

class QChartView;

class THDPanel : public ProgramPanel {
  Q_OBJECT
public:
  explicit THDPanel(QWidget *parent = nullptr);
  void setLayoutTexts(int language) override;

  // The table column of a value column of THDTableView (0..3): 1, 2, 4, 5
  // (columns 0 and 3 hold the order numbers).
  static int TableColumn(int column);

  Ring *RingGroup;
  QPushButton *BtClear;
  QPushButton *BtDownload;
  std::array<QTableWidget *, 2> Table; // by THDTableLanguage
  QChartView *Graph;

private:
  QLabel *LabelGroup;
};
