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
  for (int phase = 0; phase < 3; ++phase) {
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
  ++Counter;
  if (int(Points.size()) > PointsPerScreen) {
    Points.pop_front();
    for (auto *series : Series)
      series->remove(0);
  }
  const double x = double(Counter);
  Series[0]->append(x, u);
  Series[1]->append(x, v);
  Series[2]->append(x, w);
  AxisX->setRange(double(Counter - PointsPerScreen + 1), double(Counter));
  double low = 0.0;
  double high = 1.0;
  for (const Sample &sample : Points)
    for (double value : sample.Value) {
      low = std::min(low, value);
      high = std::max(high, value);
    }
  const double pad = (high - low) * 0.1;
  AxisY->setRange(low < 0.0 ? low - pad : 0.0, high + pad);
}

void StripChart::clearChart() {
  Points.clear();
  Redraw();
}

double StripChart::lastValue(int phase) const {
  return Points.empty() ? 0.0 : Points.back().Value[phase];
}

void StripChart::Redraw() {
  for (int phase = 0; phase < 3; ++phase) {
    QList<QPointF> list;
    long long x = Counter - static_cast<long long>(Points.size()) + 1;
    for (const Sample &sample : Points)
      list.append(QPointF(double(x++), sample.Value[phase]));
    Series[phase]->replace(list);
  }
  AxisX->setRange(double(Counter - PointsPerScreen + 1), double(Counter));
  if (Points.empty())
    AxisY->setRange(0.0, 1.0);
}

void StripChart::mouseDoubleClickEvent(QMouseEvent *event) {
  Q_EMIT doubleClicked();
  QChartView::mouseDoubleClickEvent(event);
}
