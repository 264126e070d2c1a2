#include "ui/Logo.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

Logo::Logo(QWidget *parent) : QWidget(parent) {
  setFixedSize(kFullWidth, kHeight);
  setCursor(Qt::PointingHandCursor);
}

void Logo::setLogoWidth(int width) {
  if (Width == width)
    return;
  Width = width;
  update();
}

void Logo::paintEvent(QPaintEvent *) {
  // The picture is drawn at its full size and squeezed to the animated width,
  // centred in the fixed slot so the panel layout never moves.
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const double squeeze = Width / double(kFullWidth);
  painter.translate((kFullWidth - Width) / 2.0, 0);
  painter.scale(squeeze, 1.0);
  QLinearGradient fill(0, 0, 0, kHeight);
  fill.setColorAt(0.0, QColor(20, 90, 170));
  fill.setColorAt(1.0, QColor(8, 40, 90));
  QPainterPath plate;
  plate.addRoundedRect(QRectF(1, 1, kFullWidth - 2, kHeight - 2), 9, 9);
  painter.fillPath(plate, fill);
  // A sine stroke behind the name.
  QPainterPath wave;
  for (int x = 0; x <= kFullWidth - 16; ++x) {
    const double y = kHeight / 2.0 - 14.0 * std::sin(x * 2 * 3.14159265 / (kFullWidth - 16));
    if (x == 0)
      wave.moveTo(8 + x, y);
    else
      wave.lineTo(8 + x, y);
  }
  painter.setPen(QPen(QColor(255, 200, 40, 150), 3));
  painter.drawPath(wave);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(30);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(0, 0, kFullWidth, kHeight), Qt::AlignCenter, "VEXA");
}

void Logo::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton)
    Q_EMIT clicked();
  QWidget::mousePressEvent(event);
}
