// A scrolling chart of three traces (phases U, V, W) that keeps a given
// number of points per screen and accepts one three-point set per append.
#pragma once

#include <QChartView>
#include <deque>

class QLineSeries;
class QValueAxis;

class StripChart : public QChartView {
  Q_OBJECT
public:
  explicit StripChart(QWidget *parent = nullptr);

  void setPointsPerScreen(int points);
  int pointsPerScreen() const { return PointsPerScreen; }
  void appendPoints(double u, double v, double w);
  void clearChart();
  int pointCount() const { return int(Points.size()); }
  // The latest point of trace phase (0 U, 1 V, 2 W); 0 when empty.
  double lastValue(int phase) const;

Q_SIGNALS:
  void doubleClicked();

protected:
  void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
  void Redraw();

  struct Sample {
    double Value[3];
  };
  int PointsPerScreen = 600;
  long long Counter = 0;
  std::deque<Sample> Points;
  QLineSeries *Series[3];
  QValueAxis *AxisX;
  QValueAxis *AxisY;
};

// The phase colours of every graph and chart.
QColor PhaseColour(int phase);
