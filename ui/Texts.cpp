#include "ui/Texts.h"

#include "records/Globals.h"

QString Tx(int language, const char *english, const char *chinese) {
  return QString::fromUtf8(language == 1 ? english : chinese);
}

QString Tx(const char *english, const char *chinese) {
  return Tx(gPowerInfo.Language, english, chinese);
}

QString OutModeText(int language, int mode) {
  switch (mode) {
  case 0:
    return Tx(language, "Three-phase", "三相输出");
  case 1:
    return Tx(language, "Separate phases", "分相输出");
  case 5:
    return Tx(language, "Single phase", "单相输出");
  default:
    return Tx(language, "Three-phase, set angles", "三相可调相位");
  }
}

QStringList WaveTexts(int language) {
  QStringList waves{Tx(language, "Sine", "正弦波")};
  for (int wave = 1; wave <= 10; ++wave)
    waves << Tx(language, "Waveform %1", "波形 %1").arg(wave);
  return waves;
}
