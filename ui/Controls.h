// The small controls the panels are built from: a numeric knob, lamps, the
// output switch, rings with integer values and numeric displays. Their
// attributes mirror what the panels set: value, range, precision, increment,
// visible, dimmed.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QWidget>

class QDial;

// A knob with its numeric entry below it. valueChanged is emitted for user
// changes only when the signals of the knob are not blocked.
class Knob : public QWidget {
  Q_OBJECT
public:
  explicit Knob(const QString &caption, QWidget *parent = nullptr);

  void setRange(double minimum, double maximum);
  void setDecimals(int decimals);
  void setSingleStep(double step);
  void setValue(double value);
  double value() const;
  double minimum() const;
  double maximum() const;
  int decimals() const;
  double singleStep() const;
  void setCaption(const QString &caption);
  QString caption() const;
  QDoubleSpinBox *entry() const { return Entry; }

Q_SIGNALS:
  void valueChanged(double value);

private:
  void SyncDial();
  int Scale() const;

  QLabel *Caption;
  QDial *Dial;
  QDoubleSpinBox *Entry;
};

// A round indicator lamp with an optional caption to its right.
class Lamp : public QWidget {
  Q_OBJECT
public:
  explicit Lamp(const QString &caption = QString(), QColor onColour = QColor(40, 200, 60),
                QWidget *parent = nullptr);
  void setOn(bool on);
  bool isOn() const { return On; }
  void setCaption(const QString &caption);
  QString caption() const { return Caption; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  bool On = false;
  QColor OnColour;
  QString Caption;
};

// A round push switch that shows its state as a lamp (the output switches).
// It does not toggle itself: the program sets its state from the records.
class LedSwitch : public QAbstractButton {
  Q_OBJECT
public:
  explicit LedSwitch(QColor onColour = QColor(40, 200, 60), QWidget *parent = nullptr);
  void setOn(bool on);
  bool isOn() const { return On; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  bool On = false;
  QColor OnColour;
};

// A ring: a drop-down list whose items carry integer values.
class Ring : public QComboBox {
  Q_OBJECT
public:
  explicit Ring(QWidget *parent = nullptr);
  void addValue(const QString &text, int value);
  // Selects the item holding value; a value without item leaves the ring as it is.
  void setRingValue(int value);
  int ringValue() const;
  // Replaces the item texts in order (same values).
  void setItemTexts(const QStringList &texts);
};

// A numeric entry with a fixed number of decimals.
class NumEntry : public QDoubleSpinBox {
  Q_OBJECT
public:
  NumEntry(double minimum, double maximum, int decimals, double step, QWidget *parent = nullptr);
};

// A read-only numeric display.
class NumDisplay : public QLabel {
  Q_OBJECT
public:
  explicit NumDisplay(int decimals = 1, QWidget *parent = nullptr);
  void setDecimals(int decimals);
  int decimals() const { return Decimals; }
  void setNumber(double value);
  double number() const { return Value; }

private:
  int Decimals;
  double Value = 0.0;
};

// A caption label whose text the language pass sets.
QLabel *MakeCaption(const QString &text, QWidget *parent = nullptr);
