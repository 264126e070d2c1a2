#include "ui/Texts.h"

#include "records/Globals.h"

QString Tx(int language, const char *english, const char *chinese) {
  return QString::fromUtf8(language == 1 ? english : chinese);
}

QString Tx(const char *english, const char *chinese) {
  return Tx(gPowerInfo.Language, english, chinese);
}
