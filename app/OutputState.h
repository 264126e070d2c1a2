// The output state of the source as the five operating panels show it: the
// running, stopped and alarm indications with the alarm text, the clear-alarm
// key, the DC output, and the dimming that follows the output state.
#pragma once

#include <string>

#include "app/MainPanelState.h"
#include "records/ViewHooks.h" // the guards

// The language-file item of an alarm code without its leading digit (0..999);
// 328, the generic text, for every code without an item of its own.
int AlarmTextItem(int code);
// The alarm text of a code: an optional leading digit (code div 1000, last
// digit only) and the item's text; the generic item gets the code's three
// digits written over the three characters after its first one.
std::string StrAlarmLanguageSet(int code, int language, const LanguageItemFn &itemText);

// Redraws the output area and the dimming from the running and alarm flags.
// The settings of the panel in front and the menus follow only when the
// pair of flags differs from the one seen by the previous call.
void RefreshOutputState(MainPanelState &panel);
// The DC reading (DCValue / 10) and the DC output indicator.
void RefreshDCOutputStateAndMeasure(MainPanelState &panel);

// The clear-alarm key of any of the five panels.
void ClearAlarmKey(MainPanelState &panel);
