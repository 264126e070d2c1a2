#include "ui/ControlSync.h"

#include <QApplication>
#include <QCheckBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

#include "ui/Controls.h"

namespace {

// The text a spin box shows for a value (no prefix or suffix).
QString Shown(const QDoubleSpinBox *entry, double value) { return entry->textFromValue(value); }
QString Shown(const QSpinBox *entry, int value) { return entry->locale().toString(value); }

// Writes value and limits of a spin box where they differ from what it holds.
template <typename Entry, typename Value>
void WriteEntry(Entry *entry, const NumView &view, Value (*convert)(double)) {
  const QSignalBlocker block(entry);
  const Value min = convert(view.Min), max = convert(view.Max);
  if (view.Max > view.Min && (Shown(entry, min) != Shown(entry, entry->minimum()) ||
                              Shown(entry, max) != Shown(entry, entry->maximum())))
    entry->setRange(min, max);
  const Value value = convert(view.Value);
  if (Shown(entry, value) != Shown(entry, entry->value()))
    entry->setValue(value);
}

double AsDouble(double value) { return value; }
int AsInt(double value) { return int(value); }

} // namespace

bool Typing(const QDoubleSpinBox *entry) {
  return entry->hasFocus() && entry->cleanText() != Shown(entry, entry->value());
}

bool Typing(const QSpinBox *entry) {
  return entry->hasFocus() && entry->cleanText() != Shown(entry, entry->value());
}

void ShowAndDim(QWidget *widget, bool visible, bool dimmed) {
  if (widget->isHidden() == visible)
    widget->setVisible(visible);
  if (widget->testAttribute(Qt::WA_Disabled) != dimmed)
    widget->setEnabled(!dimmed);
}

void ApplyNum(QDoubleSpinBox *entry, const NumView &view) {
  if (Typing(entry))
    return;
  WriteEntry(entry, view, AsDouble);
  ShowAndDim(entry, view.Visible, view.Dimmed);
}

void ApplyNum(QSpinBox *entry, const NumView &view) {
  if (Typing(entry))
    return;
  WriteEntry(entry, view, AsInt);
  ShowAndDim(entry, view.Visible, view.Dimmed);
}

void ApplyNum(Knob *knob, const NumView &view) {
  const QDoubleSpinBox *entry = knob->entry();
  if (Typing(entry))
    return;
  const QSignalBlocker block(knob);
  if (view.Max > view.Min && (Shown(entry, view.Min) != Shown(entry, knob->minimum()) ||
                              Shown(entry, view.Max) != Shown(entry, knob->maximum())))
    knob->setRange(view.Min, view.Max);
  if (Shown(entry, view.Value) != Shown(entry, knob->value()))
    knob->setValue(view.Value);
  ShowAndDim(knob, view.Visible, view.Dimmed);
}

void ApplyNum(NumDisplay *display, const NumView &view) {
  if (display->number() != view.Value)
    display->setNumber(view.Value);
  ShowAndDim(display, view.Visible, view.Dimmed);
}

void ApplyRing(Ring *ring, const RingView &view) {
  if (ring->ringValue() != view.Value) {
    const QSignalBlocker block(ring);
    ring->setRingValue(view.Value);
  }
  ShowAndDim(ring, view.Visible, view.Dimmed);
}

void ApplyRing(QCheckBox *box, const RingView &view) {
  if (box->isChecked() != (view.Value > 0)) {
    const QSignalBlocker block(box);
    box->setChecked(view.Value > 0);
  }
  ShowAndDim(box, view.Visible, view.Dimmed);
}

void ApplyLamp(Lamp *lamp, const LampView &view) {
  lamp->setOn(view.On);
  ShowAndDim(lamp, view.Visible, view.Dimmed);
}

void ApplyKey(QAbstractButton *key, const KeyView &view) {
  ShowAndDim(key, view.Visible, view.Dimmed);
}

void ApplyCell(QTableWidget *table, int row, int column, const QString &text) {
  QTableWidgetItem *item = table->item(row, column);
  if (!item || item->text() == text)
    return;
  // While a cell is edited its editor, a child of the table, has the focus.
  const QWidget *focus = QApplication::focusWidget();
  if (table->currentItem() == item && focus && focus != table && table->isAncestorOf(focus))
    return;
  const QSignalBlocker block(table);
  item->setText(text);
}
