// Setting files: the thirteen kinds of file that hold normal settings and
// test programs, and the operations that move them between files and the
// program-wide setting records.
//
// Every file starts with section "FileInfo" holding "Type", the number of its
// kind; the extension plays no part in reading. Readers return 1 when the file
// was read, 0 when it is missing (the target part of the records then gets
// its defaults) or its Type is wrong (nothing changes). Writers update an
// existing file in place (other items and comments stay), replace it through
// a temporary file and return 1.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>

class IniFile;

enum class SettingKind {
  FCNorAll,
  FCNorOne,
  FPNorAll,
  FPNorOne,
  StepAll,
  ListAll,
  ListOne,
  RampAll,
  RampOne,
  CrossAll,
  CrossOne,
  THDAll,
  THDOne,
};

constexpr int kSettingKindCount = 13;

struct SettingKindInfo {
  SettingKind Kind;
  const char *Name; // the extension without the dot, e.g. "FPNorAll"
  int32_t Type;     // value of FileInfo/Type
  int IndexCount;   // One kinds: how many groups, steps or entries; All kinds 0
};

// The kinds in the order of the enum.
const SettingKindInfo &SettingKindOf(SettingKind kind);
// nullptr when no kind has that Type or name (names compare without case).
const SettingKindInfo *SettingKindByType(int32_t type);
const SettingKindInfo *SettingKindByName(QStringView name);

// One stored item: where it lives in the file and the record field it holds.
struct SettingItem {
  QByteArrayView Section;
  QByteArrayView Key;
  int32_t *Field;
};

// The items of a kind bound to the program-wide records, in file order. The
// index selects the group, step or entry of a One kind; All kinds ignore it.
// An index outside the kind's range gives no items.
QList<SettingItem> SettingItems(SettingKind kind, int index = 0);

// The steps of reading and writing, for callers that need them apart.
// Defaults of the part of the records the kind fills (missing file).
void SettingApplyDefaults(SettingKind kind, int index);
// Normalisation of that part for the model family; 1 when anything changed.
int SettingNormalise(SettingKind kind, int index, int32_t modelType);
// Checks the Type of a loaded document and reads its items into the records
// (THD kinds clear their groups first). No normalisation. Returns 1, or 0
// with the records untouched when Type is missing or wrong.
int SettingReadDocument(SettingKind kind, const IniFile &document, int index);
// Sets Type and every item of the kind in the document.
void SettingWriteDocument(SettingKind kind, IniFile &document, int index);

// A field that normalisation changed: the value read and the value kept.
struct SettingFinding {
  QByteArrayView Section;
  QByteArrayView Key;
  int32_t Read;
  int32_t Kept;
};
using SettingFindings = QList<SettingFinding>;
// "Value.VolU: 9999 -> 3000", one line per finding.
QString SettingFindingsText(const SettingFindings &findings);

// Reads a loaded document (SettingReadDocument) and normalises what it read
// for the family; findings, when given, receive every field normalisation
// changed. 1, or 0 with the records untouched.
int SettingReadDocumentChecked(SettingKind kind, const IniFile &document, int index,
                               int32_t modelType, SettingFindings *findings);

// The whole read (defaults on a missing file, Type check, items,
// normalisation by gPowerInfo.ModelType, its findings when asked for) and
// the whole write.
int SettingFileRead(SettingKind kind, const QString &path, int index = 0,
                    SettingFindings *findings = nullptr);
// The same, normalising for the given family instead of the selected one.
int SettingFileReadForModel(SettingKind kind, const QString &path, int index, int32_t modelType,
                            SettingFindings *findings = nullptr);
int SettingFileWrite(SettingKind kind, const QString &path, int index = 0);

int FileReadNormalFCAll(const QString &path);
int FileWriteNormalFCAll(const QString &path);
int FileReadNormalFCOne(const QString &path, int group);
int FileWriteNormalFCOne(const QString &path, int group);
int FileReadNormalFPAll(const QString &path);
int FileWriteNormalFPAll(const QString &path);
int FileReadNormalFPOne(const QString &path, int group);
int FileWriteNormalFPOne(const QString &path, int group);
int FileReadStep(const QString &path);
int FileWriteStep(const QString &path);
int FileReadListAll(const QString &path);
int FileWriteListAll(const QString &path);
int FileReadListOne(const QString &path, int step);
int FileWriteListOne(const QString &path, int step);
int FileReadRampAll(const QString &path);
int FileWriteRampAll(const QString &path);
int FileReadRampOne(const QString &path, int step);
int FileWriteRampOne(const QString &path, int step);
int FileReadCrossAll(const QString &path);
int FileWriteCrossAll(const QString &path);
int FileReadCrossOne(const QString &path, int entry);
int FileWriteCrossOne(const QString &path, int entry);
int FileReadTHDAll(const QString &path);
int FileWriteTHDAll(const QString &path);
int FileReadTHDOne(const QString &path, int group);
int FileWriteTHDOne(const QString &path, int group);
