#include "measure/gui/TrendGraph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/StripChart.h"

namespace {

constexpr int kSelectMinPixels = 4;
const QColor kBackground(0, 0, 0);
const QColor kGrid(70, 70, 70);

// Tick steps of the time axis, seconds; each divides a day or is whole days.
constexpr int64_t kTimeSteps[] = {1,     2,     5,     10,    15,     30,    60,
                                  120,   300,   600,   900,   1800,   3600,  7200,
                                  10800, 21600, 43200, 86400, 172800, 604800};

QString TimeLabel(int64_t seconds, int64_t step) {
  const QString text = DateTimeText(seconds); // "YYYY-MM-DD HH:MM:SS"
  if (step >= 86400)
    return text.left(10);
  return (step < 60 ? text.right(8) : text.mid(11, 5)) + "\n" + text.left(10);
}

double NiceStep(double range, int ticks) {
  const double raw = range / ticks;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * magnitude >= raw)
      return m * magnitude;
  }
  return 10.0 * magnitude;
}

} // namespace

TrendGraph::TrendGraph(QWidget *parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(400, 260);
}

void TrendGraph::setTrend(const TrendView &view, const std::vector<TrendBucket> &buckets,
                          int decimals) {
  View = view;
  Buckets = buckets;
  Decimals = decimals;
  bool any = false;
  double low = 0.0, high = 0.0;
  for (const TrendBucket &b : Buckets) {
    if (b.Rows == 0)
      continue;
    for (int p = 0; p < kMeasurePhases; ++p) {
      low = any ? std::min(low, b.Min[p]) : b.Min[p];
      high = any ? std::max(high, b.Max[p]) : b.Max[p];
      any = true;
    }
  }
  if (!any || high - low < 1e-9) {
    low -= 1.0;
    high += 1.0;
  }
  const double margin = (high - low) * 0.05;
  YLow = low - margin;
  YHigh = high + margin;
  update();
}

void TrendGraph::setCursorTime(double t) {
  Cursor = t;
  update();
}

QRectF TrendGraph::PlotRect() const {
  return QRectF(62, 8, std::max(10, width() - 62 - 14), std::max(10, height() - 8 - 40));
}

double TrendGraph::TimeAt(double x) const {
  const QRectF plot = PlotRect();
  return static_cast<double>(View.Start) +
         (x - plot.left()) / plot.width() * static_cast<double>(View.Seconds);
}

double TrendGraph::XOf(double t) const {
  const QRectF plot = PlotRect();
  return plot.left() +
         (t - static_cast<double>(View.Start)) / static_cast<double>(View.Seconds) * plot.width();
}

double TrendGraph::YOf(double value) const {
  const QRectF plot = PlotRect();
  return plot.bottom() - (value - YLow) / (YHigh - YLow) * plot.height();
}

void TrendGraph::paintEvent(QPaintEvent *) {
  QPainter p(this);
  const QRectF plot = PlotRect();
  p.fillRect(rect(), palette().window());
  p.fillRect(plot, kBackground);
  DrawAxes(p, plot);
  p.save();
  p.setClipRect(plot);
  // The cursor goes under the traces: a one-second dip under it stays visible.
  if (Cursor >= 0) {
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
    const double x = XOf(Cursor);
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  }
  p.setRenderHint(QPainter::Antialiasing);
  for (int phase = kMeasurePhases - 1; phase >= 0; --phase)
    DrawPhase(p, phase);
  if (Dragging == Drag::Select) {
    const double x0 = PressPos.x();
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRect(QRectF(QPointF(std::min(x0, SelectTo), plot.top()),
                      QPointF(std::max(x0, SelectTo), plot.bottom())));
  }
  p.restore();
  p.setPen(palette().windowText().color());
  p.drawRect(plot);
}

void TrendGraph::DrawAxes(QPainter &p, const QRectF &plot) {
  const QFontMetrics fm(font());
  // Values.
  const double step = NiceStep(YHigh - YLow, 6);
  for (double v = std::ceil(YLow / step) * step; v <= YHigh; v += step) {
    const double y = YOf(v);
    p.setPen(kGrid);
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    p.setPen(palette().windowText().color());
    p.drawText(QRectF(0, y - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(v, 'f', Decimals));
  }
  // Date-times, on whole steps of the local clock.
  const int64_t fit = std::max<int64_t>(2, static_cast<int64_t>(plot.width() / 110));
  int64_t timeStep = kTimeSteps[std::size(kTimeSteps) - 1];
  for (int64_t s : kTimeSteps) {
    if (View.Seconds / s <= fit) {
      timeStep = s;
      break;
    }
  }
  const int64_t end = View.Start + View.Seconds;
  for (int64_t t = (View.Start + timeStep - 1) / timeStep * timeStep; t <= end; t += timeStep) {
    const double x = XOf(static_cast<double>(t));
    p.setPen(kGrid);
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    p.setPen(palette().windowText().color());
    const double left = std::clamp(x - 60, 0.0, width() - 120.0);
    p.drawText(QRectF(left, plot.bottom() + 3, 120, 2 * fm.height()),
               Qt::AlignHCenter | Qt::AlignTop, TimeLabel(t, timeStep));
  }
}

void TrendGraph::DrawPhase(QPainter &p, int phase) {
  const QColor colour = PhaseColour(phase);
  QColor band = colour;
  band.setAlpha(90);
  const double xStep = TrendXStep(View);
  const auto x = [&](int32_t i) { return XOf(static_cast<double>(View.Start) + i * xStep); };
  for (const auto &[first, last] : TrendRuns(Buckets)) {
    if (first == last) {
      const TrendBucket &b = Buckets[static_cast<size_t>(first)];
      p.setPen(QPen(colour, 1.5));
      p.drawLine(QPointF(x(first), YOf(b.Min[phase])), QPointF(x(first), YOf(b.Max[phase])));
      p.setBrush(colour);
      p.drawEllipse(QPointF(x(first), YOf(b.Mean[phase])), 1.5, 1.5);
      continue;
    }
    QPainterPath area;
    QPainterPath mean;
    for (int32_t i = first; i <= last; ++i) {
      const TrendBucket &b = Buckets[static_cast<size_t>(i)];
      const QPointF top(x(i), YOf(b.Max[phase]));
      const QPointF middle(x(i), YOf(b.Mean[phase]));
      if (i == first) {
        area.moveTo(top);
        mean.moveTo(middle);
      } else {
        area.lineTo(top);
        mean.lineTo(middle);
      }
    }
    for (int32_t i = last; i >= first; --i)
      area.lineTo(x(i), YOf(Buckets[static_cast<size_t>(i)].Min[phase]));
    area.closeSubpath();
    p.setPen(QPen(band, 1));
    p.setBrush(band);
    p.drawPath(area);
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mean);
  }
}

void TrendGraph::wheelEvent(QWheelEvent *event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0.0)
    return;
  const double x = std::clamp(event->position().x(), PlotRect().left(), PlotRect().right());
  Q_EMIT viewRequested(TrendZoom(View, TimeAt(x), std::pow(kTrendWheelZoom, notches)));
  event->accept();
}

void TrendGraph::mousePressEvent(QMouseEvent *event) {
  setFocus();
  PressPos = event->position();
  PressView = View;
  SelectTo = PressPos.x();
  const bool select = event->button() == Qt::RightButton ||
                      (event->button() == Qt::LeftButton && event->modifiers() & Qt::ShiftModifier);
  Dragging = select ? Drag::Select : event->button() == Qt::LeftButton ? Drag::Pan : Drag::None;
}

void TrendGraph::mouseMoveEvent(QMouseEvent *event) {
  const double x = event->position().x();
  if (Dragging == Drag::Pan) {
    const double seconds =
        (PressPos.x() - x) / PlotRect().width() * static_cast<double>(PressView.Seconds);
    const TrendView moved = TrendPan(PressView, std::llround(seconds));
    if (moved.Start != View.Start)
      Q_EMIT viewRequested(moved);
  } else if (Dragging == Drag::Select) {
    SelectTo = std::clamp(x, PlotRect().left(), PlotRect().right());
  }
  if (PlotRect().contains(event->position())) {
    Cursor = TimeAt(x);
    Q_EMIT cursorMoved(Cursor);
  }
  update();
}

void TrendGraph::mouseReleaseEvent(QMouseEvent *) {
  if (Dragging == Drag::Select && std::abs(SelectTo - PressPos.x()) >= kSelectMinPixels) {
    Dragging = Drag::None;
    Q_EMIT viewRequested(
        TrendSelect(std::llround(TimeAt(PressPos.x())), std::llround(TimeAt(SelectTo))));
  }
  Dragging = Drag::None;
  update();
}

void TrendGraph::mouseDoubleClickEvent(QMouseEvent *) { Q_EMIT resetRequested(); }

void TrendGraph::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Home) {
    Q_EMIT resetRequested();
  } else if (event->key() == Qt::Key_Escape && Dragging != Drag::None) {
    Dragging = Drag::None;
    update();
  } else {
    QWidget::keyPressEvent(event);
  }
}
