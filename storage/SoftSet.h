// The software settings file "Set.Dat" and the auto-save files that keep
// every model family's settings and programs between runs. All of them lie in
// the working directory.
#pragma once

#include "storage/IniDeal.h"
#include <QString>

#include <QList>
#include <QStringList>

#include <cstdint>

class IniFile;

constexpr int32_t kSoftSetType = 128;
inline const QString kSoftSetFileName = QStringLiteral("Set.Dat");

// Reads "Set.Dat" (or the file at path) into gPowerInfo: every item present
// replaces its field, then the communication fields are made legal
// (DataCheckCommSet). A missing file gives the first-start communication
// settings (DataInitCommSet) and leaves the other fields. A file of another
// Type is not read and nothing is checked. Returns 1 only when read.
int FileReadSoftSet(const QString &path);
// Writes Type 128 and the items of gPowerInfo into the file, keeping what
// else the file holds. Returns 1.
int FileWriteSoftSet(const QString &path);
// Sets Type 128 and the items of gPowerInfo in a document.
void SoftSetWriteDocument(IniFile &document);
// Reads the items a loaded document holds into gPowerInfo, without the
// check of the communication fields. Returns 1, or 0 with gPowerInfo
// untouched when the document's Type is not 128.
int SoftSetReadDocument(const IniFile &document);
// The integer items of "Set.Dat" bound to gPowerInfo, in file order.
QList<SettingItem> SoftSetItems();

// The auto-save files of a family, in the order they are written and read;
// empty for a ModelType that names no family.
QStringList AutoSaveFileNames(int32_t modelType);

// Writes the auto-save files of a model's family from the records; nothing
// for a ModelType that names no family.
void AutoSaveModel(int32_t modelType);

// Per-family auto-save: the family's All files from the records.
void AutoSaveFCT();
void AutoSaveFCS();
void AutoSaveFSA();
void AutoSaveFSB();
void AutoSaveFPA();
void AutoSaveFPB();
void AutoSaveGS();
void AutoSaveFL();

// Writes the auto-save files of the selected family (gPowerInfo.ModelType),
// then "Set.Dat".
void AutoSaveSetting();

// Reads the auto-save files of a family into the records with the All
// readers, in order; a missing file gives the defaults of its records. Sets
// gCurrentNormalGroup to 0 first. The normalisation follows
// gPowerInfo.ModelType, which the caller sets to the family beforehand.
void AutoLoadSetting(int32_t modelType);
