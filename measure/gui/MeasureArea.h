// The measurement area of the five operating panels: four readout groups
// (quantity selector and U, V, W displays) with their strip charts for the
// graph view, and the table of eight quantities by three phases for the text
// view. One instance serves all five panels: it moves into the panel in front.
#pragma once

#include <QFrame>
#include <array>

#include "ui/Controls.h"
#include "ui/StripChart.h"

class QStackedWidget;
class QVBoxLayout;

class MeasureArea : public QFrame {
  Q_OBJECT
public:
  static constexpr int kReadouts = 4;
  static constexpr int kTableRows = 8;

  explicit MeasureArea(QWidget *parent = nullptr);

  // Moves the area into slot (a layout of the panel in front).
  void moveInto(QVBoxLayout *slot);
  // The quantity names (texts 109..116) for selectors, FC labels and table rows.
  void setQuantityNames(const QStringList &names);
  void setPhaseNames(const QStringList &names);

  QWidget *GraphView;
  QWidget *TextView;
  std::array<Ring *, kReadouts> Selector{};
  std::array<QLabel *, kReadouts> FixedLabel{}; // shown instead of the selectors for FC
  std::array<std::array<NumDisplay *, 3>, kReadouts> Readout{};
  std::array<StripChart *, kReadouts> Chart{};
  std::array<QLabel *, 3> GraphPhaseHeader{};
  std::array<QLabel *, kTableRows> TableLabel{};
  std::array<std::array<NumDisplay *, 3>, kTableRows> Table{};
  std::array<QLabel *, 3> TablePhaseHeader{};
};
