#include "ui/PhaseGraph.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QValueAxis>

#include "ui/StripChart.h"

namespace {

// Series drawn over the curves carry this name; a full redraw removes all.
const QString kOverlay = "overlay";

QValueAxis *Axis(QChart *chart, Qt::Orientation orientation) {
  return qobject_cast<QValueAxis *>(chart->axes(orientation).value(0));
}

QLineSeries *AddSeries(QChart *chart, const QList<QPointF> &points, const QPen &pen) {
  auto *series = new QLineSeries(chart);
  series->replace(points);
  series->setPen(pen);
  chart->addSeries(series);
  series->attachAxis(Axis(chart, Qt::Horizontal));
  series->attachAxis(Axis(chart, Qt::Vertical));
  return series;
}

void RemoveAll(QChart *chart) {
  for (QAbstractSeries *series : chart->series())
    chart->removeSeries(series), delete series;
}

void DrawCurves(QChart *chart, const std::array<std::span<const double>, 3> &points,
                const std::array<bool, 3> &shown, size_t count, double xSpan, double width,
                bool overlay) {
  for (int phase = 2; phase >= 0; --phase) {
    const std::span<const double> curve = points[phase];
    if (!shown[phase] || curve.size() < 2)
      continue;
    const size_t n = std::min(count, curve.size());
    QList<QPointF> line;
    line.reserve(qsizetype(n));
    for (size_t i = 0; i < n; ++i)
      line.append(QPointF(double(i) * xSpan / double(curve.size() - 1), curve[i]));
    QLineSeries *series = AddSeries(chart, line, QPen(PhaseColour(phase), width));
    if (overlay)
      series->setName(kOverlay);
  }
}

} // namespace

QChartView *MakePhaseGraph(QWidget *parent, double xMax, double yMin, double yMax) {
  auto *graph = new QChartView(new QChart, parent);
  QChart *chart = graph->chart();
  chart->setTheme(QChart::ChartThemeDark);
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  auto *x = new QValueAxis(chart);
  auto *y = new QValueAxis(chart);
  x->setRange(0, xMax);
  x->setTickCount(5);
  x->setLabelFormat("%d");
  y->setRange(yMin, yMax);
  y->setTickCount(5);
  y->setLabelFormat("%g");
  QFont small = x->labelsFont();
  small.setPointSize(7);
  x->setLabelsFont(small);
  y->setLabelsFont(small);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  return graph;
}

void DrawPhaseCurves(QChartView *graph, const std::array<std::span<const double>, 3> &points,
                     const std::array<bool, 3> &shown, double xSpan, double yMin, double yMax) {
  QChart *chart = graph->chart();
  RemoveAll(chart);
  DrawCurves(chart, points, shown, SIZE_MAX, xSpan, 1.5, false);
  Axis(chart, Qt::Vertical)->setRange(yMin, yMax);
}

void DrawPhaseProgress(QChartView *graph, const std::array<std::span<const double>, 3> &points,
                       const std::array<bool, 3> &shown, int n, double xSpan) {
  QChart *chart = graph->chart();
  for (QAbstractSeries *series : chart->series())
    if (series->name() == kOverlay)
      chart->removeSeries(series), delete series;
  if (n <= 0)
    return;
  DrawCurves(chart, points, shown, size_t(n), xSpan, 4.0, true);
  const size_t size = points[0].size() > 1 ? points[0].size() : 2;
  DrawDivisionLine(graph, double(n - 1) * xSpan / double(size - 1));
}

void DrawDivisionLine(QChartView *graph, double x) {
  QChart *chart = graph->chart();
  for (int y = 0; y < 290; y += 30) {
    QLineSeries *dash = AddSeries(chart, {QPointF(x, y), QPointF(x, y + 20)}, QPen(Qt::white, 1));
    dash->setName(kOverlay);
  }
}

void DrawDivisionLineByFive(QChartView *graph, double width) {
  for (int k = 1; k < 5; ++k)
    DrawDivisionLine(graph, width * k / 5);
}

void SetGraphXRange(QChartView *graph, double xMax) {
  Axis(graph->chart(), Qt::Horizontal)->setRange(0, xMax);
}

void DrawFiveStepWindow(QChartView *graph, const FiveStepWindow &window, double yMin, double yMax) {
  QChart *chart = graph->chart();
  RemoveAll(chart);
  const QPen pen(PhaseColour(0), 2);
  for (const GraphLine &l : window.Lines)
    AddSeries(chart, {QPointF(l.X1, l.Y1), QPointF(l.X2, l.Y2)}, pen);
  if (window.BandShown) {
    // The band owns its two edges, so they go with it.
    auto *band = new QAreaSeries(chart);
    auto *upper = new QLineSeries(band);
    auto *lower = new QLineSeries(band);
    upper->append({QPointF(window.BandX1, window.BandY2), QPointF(window.BandX2, window.BandY2)});
    lower->append({QPointF(window.BandX1, window.BandY1), QPointF(window.BandX2, window.BandY1)});
    band->setUpperSeries(upper);
    band->setLowerSeries(lower);
    band->setPen(pen);
    band->setBrush(PhaseColour(0));
    chart->addSeries(band);
    band->attachAxis(Axis(chart, Qt::Horizontal));
    band->attachAxis(Axis(chart, Qt::Vertical));
  }
  SetGraphXRange(graph, kFiveStepWidth);
  Axis(chart, Qt::Vertical)->setRange(yMin, yMax);
  DrawDivisionLineByFive(graph, kFiveStepWidth);
}

void SetGraphNote(QChartView *graph, const QString &text) {
  if (graph->chart()->title() != text)
    graph->chart()->setTitle(text);
}
