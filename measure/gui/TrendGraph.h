// The history panel's trend graph: per phase (W, V, U, in the phase colours)
// the band from the smallest to the largest value of every bucket and the
// line of the means, broken where rows are missing, over a time axis of real
// date-times. The wheel zooms around the pointer, a left drag pans, a right
// drag (or Shift and a left drag) selects a range, Home or a double-click
// returns to the chosen span; each asks for a new view. A vertical cursor
// follows the pointer.
#pragma once

#include <QWidget>
#include <vector>

#include "measure/MeasurePanelFunc.h"

class TrendGraph : public QWidget {
  Q_OBJECT
public:
  explicit TrendGraph(QWidget *parent = nullptr);

  // The view and its buckets (empty: no plots, only the axes).
  void setTrend(const TrendView &view, const std::vector<TrendBucket> &buckets, int decimals);
  // Places the cursor at time t (below 0: none).
  void setCursorTime(double t);
  double cursorTime() const { return Cursor; }
  const TrendView &view() const { return View; }

Q_SIGNALS:
  void viewRequested(const TrendView &view);
  void resetRequested();
  void cursorMoved(double t);

protected:
  void paintEvent(QPaintEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  enum class Drag { None, Pan, Select };
  QRectF PlotRect() const;
  double TimeAt(double x) const;
  double XOf(double t) const;
  double YOf(double value) const;
  void DrawAxes(QPainter &p, const QRectF &plot);
  void DrawPhase(QPainter &p, int phase);

  TrendView View;
  std::vector<TrendBucket> Buckets;
  int Decimals = 1;
  double YLow = 0.0;
  double YHigh = 1.0;
  double Cursor = -1.0;
  Drag Dragging = Drag::None;
  QPointF PressPos;
  double SelectTo = 0.0;
  TrendView PressView;
};
