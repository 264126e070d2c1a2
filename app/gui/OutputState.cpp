#include "app/gui/OutputState.h"

#include <QPushButton>

#include "app/Globals.h"
#include "app/gui/LanguageSet.h"
#include "app/gui/MainMenu.h"
#include "app/gui/ModelCatalogue.h"
#include "app/gui/Navigation.h"
#include "app/gui/NormalMapping.h"
#include "app/gui/Shell.h"
#include "storage/Language.h"
#include "ui/Panel.h"

namespace {

// The state seen by the previous refresh; 255 makes the first one a change.
int gLastRunning = 255;
int gLastAlarming = 255;

constexpr int kGenericAlarmItem = 328;

struct AlarmEntry {
  int Code;
  int Item;
};

constexpr AlarmEntry kAlarmItems[] = {
    {100, 341}, {101, 342}, {200, 340}, {201, 329}, {310, 343}, {311, 313}, {312, 316}, {313, 319},
    {314, 322}, {315, 325}, {340, 344}, {341, 314}, {342, 317}, {343, 320}, {344, 323}, {345, 326},
    {370, 345}, {371, 315}, {372, 318}, {373, 321}, {374, 324}, {375, 327}, {410, 300}, {412, 303},
    {440, 301}, {442, 304}, {470, 302}, {472, 305}, {500, 306}, {600, 330}, {601, 346}, {602, 347},
};

} // namespace

int AlarmItem(int code) {
  if (code >= 610 && code <= 618)
    return 331 + (code - 610);
  for (const AlarmEntry &entry : kAlarmItems)
    if (entry.Code == code)
      return entry.Item;
  return kGenericAlarmItem;
}

QString AlarmText(int code) {
  int prefix = 0;
  if (code >= 1000) {
    prefix = code / 1000;
    code %= 1000;
  }
  const int item = AlarmItem(code);
  QString text = LanguageItem(item);
  if (prefix >= 1)
    text.prepend(QChar('0' + prefix % 10));
  if (item == kGenericAlarmItem) {
    // The generic text starts with one character and three placeholders
    // that receive the code's three digits.
    const int first = prefix >= 1 ? 2 : 1;
    const QString digits = QString::number(code % 1000).rightJustified(3, '0');
    for (int i = 0; i < 3; ++i) {
      if (first + i < text.size())
        text[first + i] = digits[i];
      else
        text.append(digits[i]);
    }
  }
  return text;
}

void StrAlarmLanguageSet(int code) {
  OpenLanguage(gPowerInfo.Language);
  const QString text = AlarmText(code);
  CloseLanguage();
  for (OutputArea *area : AllOutputAreas())
    area->AlarmText->setText(text);
}

void ResetOutputStateMemory() {
  gLastRunning = 255;
  gLastAlarming = 255;
}

void RefreshOutputState() {
  const int alarming = gPowerInfo.Alarming;
  const int running = gPowerInfo.OutputRunning;
  const bool a = alarming == 1;
  const bool r = running == 1;
  for (OutputArea *area : AllOutputAreas()) {
    area->AlarmLamp->setVisible(a);
    area->AlarmLamp->setOn(a);
    area->BtClearAlarm->setEnabled(a);
    area->OutputSwitch->setVisible(!a);
    area->OutputSwitch->setOn(r);
    area->DCSwitch->setOn(gPowerState.DCOutputOn == 1);
  }
  StrAlarmLanguageSet(gPowerState.AlarmCode);
  for (OutputArea *area : AllOutputAreas()) {
    area->AlarmText->setVisible(a);
    area->RunningText->setVisible(!a && r);
    area->StoppedText->setVisible(!a && !r);
  }
  if (running != gLastRunning || alarming != gLastAlarming) {
    const int busy = r || a ? 1 : 0;
    if (gCurrentPage == kPageMain) {
      ShowNormalAndSystemSettings();
      MainMenuNormalSaveLoadDimmed(busy);
    }
    MainMenuSetPowerModelDimmed(r || gPowerInfo.Connected == 1 ? 1 : 0);
  }
  const int model = gPowerInfo.ModelType;
  if (model == kModelFPA || model == kModelFPB || model == kModelGS) {
    MainMenuSetProgramDimmed(r ? 1 : 0);
    MainMenuSetTHDDimmed(r ? 1 : 0);
  }
  gMainMenu->setDimmed(MENU_HISTORY, running != 0);
  gMainMenu->setDimmed(MENU_HISTORY_HISTORY, running != 0);
  for (OutputArea *area : AllOutputAreas())
    area->DCSwitch->setEnabled(!a);
  gLastRunning = running;
  gLastAlarming = alarming;
}

void RefreshDCOutputStateAndMeasure() {
  for (OutputArea *area : AllOutputAreas()) {
    area->DCValue->setNumber(gPowerState.DCValue / 10.0);
    area->DCSwitch->setOn(gPowerState.DCOutputOn == 1);
  }
}
