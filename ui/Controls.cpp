#include "ui/Controls.h"

#include <QDial>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

Knob::Knob(const QString &caption, QWidget *parent)
    : QWidget(parent), Caption(new QLabel(caption, this)), Dial(new QDial(this)),
      Entry(new QDoubleSpinBox(this)) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  Caption->setAlignment(Qt::AlignCenter);
  Dial->setNotchesVisible(true);
  Dial->setWrapping(false);
  Dial->setMinimumSize(64, 64);
  Entry->setAlignment(Qt::AlignRight);
  Entry->setKeyboardTracking(false);
  layout->addWidget(Caption);
  layout->addWidget(Dial, 1);
  layout->addWidget(Entry);
  connect(Dial, &QDial::valueChanged, this, [this](int position) {
    const double value = position / double(Scale());
    if (std::abs(value - Entry->value()) < 0.5 / Scale())
      return;
    Entry->setValue(value);
  });
  connect(Entry, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    SyncDial();
    Q_EMIT valueChanged(value);
  });
  setRange(0.0, 300.0);
  setDecimals(1);
}

int Knob::Scale() const { return int(std::lround(std::pow(10.0, Entry->decimals()))); }

void Knob::SyncDial() {
  const QSignalBlocker block(Dial);
  Dial->setRange(int(std::lround(Entry->minimum() * Scale())),
                 int(std::lround(Entry->maximum() * Scale())));
  Dial->setSingleStep(std::max(1, int(std::lround(Entry->singleStep() * Scale()))));
  Dial->setPageStep(
      std::max(1, int(std::lround((Entry->maximum() - Entry->minimum()) * Scale() / 20))));
  Dial->setValue(int(std::lround(Entry->value() * Scale())));
}

void Knob::setRange(double minimum, double maximum) {
  {
    const QSignalBlocker block(Entry);
    Entry->setRange(minimum, maximum);
  }
  SyncDial();
}

void Knob::setDecimals(int decimals) {
  {
    const QSignalBlocker block(Entry);
    Entry->setDecimals(decimals);
  }
  SyncDial();
}

void Knob::setSingleStep(double step) {
  Entry->setSingleStep(step);
  SyncDial();
}

void Knob::setValue(double value) {
  // A programmatic change reaches valueChanged only when the knob's signals are
  // not blocked, exactly like a user change.
  Entry->setValue(value);
  SyncDial();
}

double Knob::value() const { return Entry->value(); }
double Knob::minimum() const { return Entry->minimum(); }
double Knob::maximum() const { return Entry->maximum(); }
int Knob::decimals() const { return Entry->decimals(); }
double Knob::singleStep() const { return Entry->singleStep(); }
void Knob::setCaption(const QString &caption) { Caption->setText(caption); }
QString Knob::caption() const { return Caption->text(); }

Lamp::Lamp(const QString &caption, QColor onColour, QWidget *parent)
    : QWidget(parent), OnColour(onColour), Caption(caption) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void Lamp::setOn(bool on) {
  if (On == on)
    return;
  On = on;
  update();
}

void Lamp::setCaption(const QString &caption) {
  Caption = caption;
  updateGeometry();
  update();
}

QSize Lamp::sizeHint() const {
  const int text = Caption.isEmpty() ? 0 : fontMetrics().horizontalAdvance(Caption) + 6;
  return {16 + text, std::max(16, fontMetrics().height())};
}

void Lamp::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int d = 12;
  const QRect circle(2, (height() - d) / 2, d, d);
  QColor fill = On ? OnColour : QColor(70, 70, 70);
  if (!isEnabled())
    fill = fill.lighter(160);
  painter.setPen(QPen(QColor(30, 30, 30), 1));
  painter.setBrush(fill);
  painter.drawEllipse(circle);
  if (!Caption.isEmpty()) {
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(QRect(d + 6, 0, width() - d - 6, height()), Qt::AlignVCenter | Qt::AlignLeft,
                     Caption);
  }
}

LedSwitch::LedSwitch(QColor onColour, QWidget *parent)
    : QAbstractButton(parent), OnColour(onColour) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void LedSwitch::setOn(bool on) {
  if (On == on)
    return;
  On = on;
  update();
}

QSize LedSwitch::sizeHint() const { return {44, 44}; }

void LedSwitch::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int d = std::min(width(), height()) - 4;
  const QRect circle((width() - d) / 2, (height() - d) / 2, d, d);
  QRadialGradient glow(circle.center(), d / 2.0);
  const QColor base = On ? OnColour : QColor(60, 60, 60);
  glow.setColorAt(0.0, base.lighter(isDown() ? 110 : 170));
  glow.setColorAt(1.0, base.darker(isEnabled() ? 120 : 60));
  painter.setPen(QPen(QColor(25, 25, 25), 2));
  painter.setBrush(glow);
  painter.drawEllipse(circle);
}

Ring::Ring(QWidget *parent) : QComboBox(parent) {}

void Ring::addValue(const QString &text, int value) { addItem(text, value); }

void Ring::setRingValue(int value) {
  const int index = findData(value);
  if (index >= 0)
    setCurrentIndex(index);
}

int Ring::ringValue() const { return currentData().toInt(); }

void Ring::setItemTexts(const QStringList &texts) {
  for (int i = 0; i < count() && i < texts.size(); ++i)
    setItemText(i, texts[i]);
}

NumEntry::NumEntry(double minimum, double maximum, int decimals, double step, QWidget *parent)
    : QDoubleSpinBox(parent) {
  setDecimals(decimals);
  setRange(minimum, maximum);
  setSingleStep(step);
  setKeyboardTracking(false);
  setAlignment(Qt::AlignRight);
}

NumDisplay::NumDisplay(int decimals, QWidget *parent) : QLabel(parent), Decimals(decimals) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setMinimumWidth(60);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(16, 24, 32));
  p.setColor(QPalette::WindowText, QColor(120, 230, 255));
  setPalette(p);
  setNumber(0.0);
}

void NumDisplay::setDecimals(int decimals) {
  Decimals = decimals;
  setNumber(Value);
}

void NumDisplay::setNumber(double value) {
  Value = value;
  setText(QString::number(value, 'f', Decimals));
}

QLabel *MakeCaption(const QString &text, QWidget *parent) { return new QLabel(text, parent); }
