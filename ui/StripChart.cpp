#include "ui/StripChart.h"

#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

QColor PhaseColour(int phase) {
  switch (phase) {
  case 0:
    return {255, 255, 0};
  case 1:
    return {0, 255, 0};
  default:
    return {255, 0, 0};
  }
}

StripChart::StripChart(QWidget *parent) : QChartView(new QChart, parent) {
  QChart *chart = this->chart();
  chart->setTheme(QChart::ChartThemeDark);
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->setBackgroundRoundness(0);
  AxisX = new QValueAxis(chart);
  AxisY = new QValueAxis(chart);
  AxisX->setLabelsVisible(false);
  AxisX->setTickCount(7);
  AxisY->setTickCount(5);
  QFont small = AxisY->labelsFont();
  small.setPointSize(7);
  AxisY->setLabelsFont(small);
  chart->addAxis(AxisX, Qt::AlignBottom);
  chart->addAxis(AxisY, Qt::AlignLeft);
  // Added W, V, U: phase U is drawn last, on top.
  for (int phase = 2; phase >= 0; --phase) {
    Series[phase] = new QLineSeries(chart);
    QPen pen(PhaseColour(phase));
    pen.setWidthF(1.2);
    Series[phase]->setPen(pen);
    chart->addSeries(Series[phase]);
    Series[phase]->attachAxis(AxisX);
    Series[phase]->attachAxis(AxisY);
  }
  setRenderHint(QPainter::Antialiasing, false);
  Redraw();
}

void StripChart::setPointsPerScreen(int points) {
  PointsPerScreen = std::max(2, points);
  while (int(Points.size()) > PointsPerScreen)
    Points.pop_front();
  Redraw();
}

void StripChart::appendPoints(double u, double v, double w) {
  Points.push_back({{u, v, w}});
  if (int(Points.size()) > PointsPerScreen)
    Points.pop_front();
  // A chart out of sight keeps its points and draws them when it shows.
  if (!isVisible()) {
    Stale = true;
    return;
  }
  Redraw();
}

void StripChart::clearChart() {
  Points.clear();
  Redraw();
}

double StripChart::lastValue(int phase) const {
  return Points.empty() ? 0.0 : Points.back().Value[phase];
}

void StripChart::SetAxes() {
  // The newest point stands at the right edge; a fixed x axis leaves the
  // traces alone, so a scroll step redraws each trace once.
  AxisX->setRange(0.0, double(PointsPerScreen - 1));
  double low = 0.0;
  double high = 1.0;
  for (const Sample &sample : Points)
    for (double value : sample.Value) {
      low = std::min(low, value);
      high = std::max(high, value);
    }
  if (Points.empty()) {
    AxisY->setRange(0.0, 1.0);
    return;
  }
  const double pad = (high - low) * 0.1;
  AxisY->setRange(low < 0.0 ? low - pad : 0.0, high + pad);
}

void StripChart::Redraw() {
  Stale = false;
  SetAxes();
  for (int phase = 0; phase < 3; ++phase) {
    QList<QPointF> list;
    list.reserve(qsizetype(Points.size()));
    int x = PointsPerScreen - int(Points.size());
    for (const Sample &sample : Points)
      list.append(QPointF(double(x++), sample.Value[phase]));
    Series[phase]->replace(list);
  }
}

void StripChart::showEvent(QShowEvent *event) {
  if (Stale)
    Redraw();
  QChartView::showEvent(event);
}

void StripChart::mouseDoubleClickEvent(QMouseEvent *event) {
  Q_EMIT doubleClicked();
  QChartView::mouseDoubleClickEvent(event);
}
