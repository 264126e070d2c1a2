// Writing a record's view of a control onto the widget. A control is
// written only where its value, limits, visibility or dimming differ from
// what it shows, so a refresh that changes nothing does no work, and an
// entry the user is typing into (it has the focus and its text is not yet
// committed) is left alone until the user commits or leaves it.
#pragma once

#include "app/MainPanelState.h"

class QAbstractButton;
class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class QString;
class QTableWidget;
class QWidget;
class Knob;
class Lamp;
class NumDisplay;
class Ring;

// The entry has the focus and text the user has not committed.
bool Typing(const QDoubleSpinBox *entry);
bool Typing(const QSpinBox *entry);

// Visibility and dimming, each only when it differs.
void ShowAndDim(QWidget *widget, bool visible, bool dimmed);

// The writers block the signals of the control they change.
void ApplyNum(QDoubleSpinBox *entry, const NumView &view);
void ApplyNum(QSpinBox *entry, const NumView &view);
void ApplyNum(Knob *knob, const NumView &view);
void ApplyNum(NumDisplay *display, const NumView &view);
void ApplyRing(Ring *ring, const RingView &view);
void ApplyRing(QCheckBox *box, const RingView &view);
void ApplyLamp(Lamp *lamp, const LampView &view);
void ApplyKey(QAbstractButton *key, const KeyView &view);
// A table cell's text; a cell the user is editing is left alone.
void ApplyCell(QTableWidget *table, int row, int column, const QString &text);
