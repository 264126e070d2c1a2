// The output areas of the five operating panels follow the source's state:
// output on or off, alarm and its text, DC output; menus and settings that
// must not change while the output runs are dimmed.
#pragma once

#include <QString>

void RefreshOutputState();
void RefreshDCOutputStateAndMeasure();
// The alarm text of a code in the current language, shown on the five panels.
void StrAlarmLanguageSet(int code);
// The text of an alarm code (prefix digit and the generic item's code digits
// filled in), read from the open language document.
QString AlarmText(int code);
// The language item that names an alarm code below 1000.
int AlarmItem(int code);
// Forgets the state seen by the previous refresh (start of a run).
void ResetOutputStateMemory();
