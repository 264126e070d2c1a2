// Language files: "English.dat" and "Chinese.dat" in the program's data
// folder, INI text (UTF-8) whose single section "Item" holds every text under
// its number written as four digits ("0001" .. "0353"). A file is open only
// while one panel's texts are being set.
#pragma once

#include <QString>

// Longest text delivered (bytes, without the terminating zero).
constexpr int kLanguageItemMax = 254;

// The shared text buffer the panels' text passes read into.
extern char gStrLanguage[kLanguageItemMax + 1];
// 1 while a language document is open.
extern int gInifileHandleState;

// The folder holding the language and help files: the one set here, else
// DataFolderFor(the executable's folder).
void SetLanguageFolder(const QString &folder);
QString LanguageFolder();
// The data folder of a program in programFolder: "data" next to it in a build
// tree, else the installed one under share/ ("../share/vexa" from bin/).
QString DataFolderFor(const QString &programFolder);
// The file of a language: "English.dat" for 1, "Chinese.dat" otherwise.
QString LanguageFileName(int language);

// Closes any open document, opens a new one and loads the file of the
// language into it. The document is marked open even when the file cannot be
// read (every text of the pass is then empty). Returns 0, or -1 when the
// file could not be read.
int OpenLanguage(int language);
// Disposes of the open document, if any.
void CloseLanguage();
// Copies text n of section "Item" into buffer (at most 254 bytes, cut at a
// character boundary, and a terminating zero); a missing item gives the
// empty text. With no document open the buffer is left as it was.
void ReadItem(int n, char *buffer);
