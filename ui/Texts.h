// Texts that belong to a panel's layout rather than to the language files:
// tab captions, ring items, fixed unit labels. Each exists in English and
// Chinese; the current language picks one.
#pragma once

#include <QString>
#include <QStringList>

// 1 = English, anything else Chinese (the program's Language field).
QString Tx(const char *english, const char *chinese);
// The same with the language given explicitly.
QString Tx(int language, const char *english, const char *chinese);

// The name of an output-mode code (0, 1, 5, 16).
QString OutModeText(int language, int mode);
// The items of a waveform ring: sine, then the ten stored waveforms.
QStringList WaveTexts(int language);
