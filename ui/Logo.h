// The animated logo picture. Its width is the animated attribute; a left
// click starts or stops the animation (the owner connects clicked()).
#pragma once

#include <QWidget>

class Logo : public QWidget {
  Q_OBJECT
public:
  static constexpr int kFullWidth = 150;
  static constexpr int kHeight = 54;

  explicit Logo(QWidget *parent = nullptr);
  void setLogoWidth(int width);
  int logoWidth() const { return Width; }
  QSize sizeHint() const override { return {kFullWidth, kHeight}; }

Q_SIGNALS:
  void clicked();

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;

private:
  int Width = kFullWidth;
};
