#include "measure/gui/MeasureArea.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "records/MeasureOutput.h"

MeasureArea::MeasureArea(QWidget *parent)
    : QFrame(parent), GraphView(new QWidget(this)), TextView(new QWidget(this)) {
  setObjectName("MeasureArea");
  setFrameShape(QFrame::StyledPanel);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  auto *graph = new QGridLayout(GraphView);
  graph->setContentsMargins(0, 0, 0, 0);
  graph->setVerticalSpacing(2);
  for (int phase = 0; phase < 3; ++phase) {
    GraphPhaseHeader[phase] = new QLabel(GraphView);
    GraphPhaseHeader[phase]->setAlignment(Qt::AlignCenter);
    GraphPhaseHeader[phase]->setStyleSheet(
        QString("background: rgb(40,40,40); color: %1;").arg(PhaseColour(phase).name()));
    graph->addWidget(GraphPhaseHeader[phase], 0, 1 + phase);
  }
  for (int k = 0; k < kReadouts; ++k) {
    Selector[k] = new Ring(GraphView);
    Selector[k]->setObjectName(QString("RingMeaR%1").arg(k + 1));
    for (int q = 0; q < kTableRows; ++q)
      Selector[k]->addValue(QString(), q);
    FixedLabel[k] = new QLabel(GraphView);
    FixedLabel[k]->hide();
    auto *head = new QVBoxLayout;
    head->addWidget(Selector[k]);
    head->addWidget(FixedLabel[k]);
    graph->addLayout(head, 1 + 2 * k, 0, 1, 1);
    for (int phase = 0; phase < 3; ++phase) {
      Readout[k][phase] = new NumDisplay(MeasurePrecision[k], GraphView);
      graph->addWidget(Readout[k][phase], 1 + 2 * k, 1 + phase);
    }
    Chart[k] = new StripChart(GraphView);
    Chart[k]->setObjectName(QString("ChartMeaR%1").arg(k + 1));
    Chart[k]->setMinimumHeight(100);
    graph->addWidget(Chart[k], 2 + 2 * k, 0, 1, 4);
    graph->setRowStretch(2 + 2 * k, 1);
  }
  layout->addWidget(GraphView, 1);

  auto *table = new QGridLayout(TextView);
  table->setContentsMargins(0, 0, 0, 0);
  for (int phase = 0; phase < 3; ++phase) {
    TablePhaseHeader[phase] = new QLabel(TextView);
    TablePhaseHeader[phase]->setAlignment(Qt::AlignCenter);
    table->addWidget(TablePhaseHeader[phase], 0, 1 + phase);
  }
  for (int q = 0; q < kTableRows; ++q) {
    TableLabel[q] = new QLabel(TextView);
    table->addWidget(TableLabel[q], 1 + q, 0);
    for (int phase = 0; phase < 3; ++phase) {
      Table[q][phase] = new NumDisplay(MeasurePrecision[q], TextView);
      QFont big = Table[q][phase]->font();
      big.setPointSize(big.pointSize() + 4);
      Table[q][phase]->setFont(big);
      Table[q][phase]->setMinimumHeight(40);
      table->addWidget(Table[q][phase], 1 + q, 1 + phase);
    }
  }
  table->setRowStretch(kTableRows + 1, 1);
  layout->addWidget(TextView, 1);
  TextView->hide();
}

void MeasureArea::moveInto(QVBoxLayout *slot) {
  if (parentWidget() == slot->parentWidget())
    return;
  slot->addWidget(this);
  show();
}

void MeasureArea::setQuantityNames(const QStringList &names) {
  for (int k = 0; k < kReadouts; ++k)
    Selector[k]->setItemTexts(names);
  for (int q = 0; q < kTableRows && q < names.size(); ++q)
    TableLabel[q]->setText(names[q]);
  for (int k = 0; k < kReadouts && k < names.size(); ++k)
    FixedLabel[k]->setText(names[k]);
}

void MeasureArea::setPhaseNames(const QStringList &names) {
  for (int phase = 0; phase < 3 && phase < names.size(); ++phase) {
    GraphPhaseHeader[phase]->setText(names[phase]);
    TablePhaseHeader[phase]->setText(names[phase]);
  }
}
