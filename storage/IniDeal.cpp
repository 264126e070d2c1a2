#include "storage/IniDeal.h"

#include "records/Globals.h"
#include "settings/NormalSet.h"
#include "settings/ProgramSet.h"
#include "storage/IniFile.h"

#include <QFileInfo>

#include <array>
#include <vector>

namespace {

constexpr QByteArrayView kFileInfo = "FileInfo";
constexpr QByteArrayView kType = "Type";
constexpr QByteArrayView kValue = "Value";

constexpr std::array<SettingKindInfo, kSettingKindCount> kKinds{{
    {SettingKind::FCNorAll, "FCNorAll", 64, 0},
    {SettingKind::FCNorOne, "FCNorOne", 65, kFCGroupCount},
    {SettingKind::FPNorAll, "FPNorAll", 80, 0},
    {SettingKind::FPNorOne, "FPNorOne", 81, kFPGroupCount},
    {SettingKind::StepAll, "StepAll", 82, 0},
    {SettingKind::ListAll, "ListAll", 83, 0},
    {SettingKind::ListOne, "ListOne", 84, kProgramStepCount},
    {SettingKind::RampAll, "RampAll", 85, 0},
    {SettingKind::RampOne, "RampOne", 86, kProgramStepCount},
    {SettingKind::CrossAll, "CrossAll", 87, 0},
    {SettingKind::CrossOne, "CrossOne", 88, kCrossEntryCount},
    {SettingKind::THDAll, "THDAll", 89, 0},
    {SettingKind::THDOne, "THDOne", 90, kTHDGroupCount},
}};

template <typename Record> struct FieldKey {
  const char *Key;
  int32_t Record::*Field;
};

constexpr FieldKey<NormalFCSet> kFCGroupKeys[] = {
    {"Vol", &NormalFCSet::Vol},         {"VolLine", &NormalFCSet::VolLine},
    {"Freq", &NormalFCSet::Freq},       {"VolLevel", &NormalFCSet::VolLevel},
    {"UpUPer", &NormalFCSet::UpUPer},   {"DownUPer", &NormalFCSet::DownUPer},
    {"OutMode", &NormalFCSet::OutMode},
};

constexpr FieldKey<SystemSet> kFCSystemKeys[] = {
    {"UDisMode", &SystemSet::UDisMode},
    {"StartRise", &SystemSet::StartRise},
    {"UCompensation", &SystemSet::UCompensation},
    {"IfKeySound", &SystemSet::IfKeySound},
};

constexpr FieldKey<NormalFPSet> kFPGroupKeys[] = {
    {"VolU", &NormalFPSet::VolU},
    {"VolV", &NormalFPSet::VolV},
    {"VolW", &NormalFPSet::VolW},
    {"VolLine", &NormalFPSet::VolLine},
    {"FreqU", &NormalFPSet::FreqU},
    {"FreqV", &NormalFPSet::FreqV},
    {"FreqW", &NormalFPSet::FreqW},
    {"VolLevel", &NormalFPSet::VolLevel},
    {"OutMode", &NormalFPSet::OutMode},
    {"RiseTime", &NormalFPSet::RiseTime},
    {"OutChannel", &NormalFPSet::OutChannel},
    {"AngleUV", &NormalFPSet::AngleUV},
    {"AngleUW", &NormalFPSet::AngleUW},
    {"AngleVW", &NormalFPSet::AngleVW},
    {"WaveU", &NormalFPSet::WaveU},
    {"WaveV", &NormalFPSet::WaveV},
    {"WaveW", &NormalFPSet::WaveW},
};

constexpr FieldKey<SystemSet> kFPSystemKeys[] = {
    {"UDisMode", &SystemSet::UDisMode},
    {"OCP_Define", &SystemSet::OCP_Define},
    {"UCompensation", &SystemSet::UCompensation},
    {"IfKeySound", &SystemSet::IfKeySound},
};

constexpr FieldKey<StepSet> kStepKeys[] = {
    {"OutMode", &StepSet::OutMode},
    {"WaveU", &StepSet::WaveU},
    {"WaveV", &StepSet::WaveV},
    {"WaveW", &StepSet::WaveW},
    {"AngleUV", &StepSet::AngleUV},
    {"AngleUW", &StepSet::AngleUW},
    {"AngleVW", &StepSet::AngleVW},
    {"VolStartU", &StepSet::VolStartU},
    {"VolStartV", &StepSet::VolStartV},
    {"VolStartW", &StepSet::VolStartW},
    {"VolLineStart", &StepSet::VolLineStart},
    {"VolStepU", &StepSet::VolStepU},
    {"VolStepV", &StepSet::VolStepV},
    {"VolStepW", &StepSet::VolStepW},
    {"VolLineStep", &StepSet::VolLineStep},
    {"FreqStartU", &StepSet::FreqStartU},
    {"FreqStartV", &StepSet::FreqStartV},
    {"FreqStartW", &StepSet::FreqStartW},
    {"FreqStepU", &StepSet::FreqStepU},
    {"FreqStepV", &StepSet::FreqStepV},
    {"FreqStepW", &StepSet::FreqStepW},
    {"StepCntU", &StepSet::StepCntU},
    {"StepCntV", &StepSet::StepCntV},
    {"StepCntW", &StepSet::StepCntW},
    {"StepTimeHU", &StepSet::StepTimeHU},
    {"StepTimeHV", &StepSet::StepTimeHV},
    {"StepTimeHW", &StepSet::StepTimeHW},
    {"StepTimeMU", &StepSet::StepTimeMU},
    {"StepTimeMV", &StepSet::StepTimeMV},
    {"StepTimeMW", &StepSet::StepTimeMW},
    {"StepTimeS2PU", &StepSet::StepTimeS2PU},
    {"StepTimeS2PV", &StepSet::StepTimeS2PV},
    {"StepTimeS2PW", &StepSet::StepTimeS2PW},
};

// Header of the List and Ramp files.
constexpr FieldKey<ListSet> kProgramHeaderKeys[] = {
    {"StartNo", &ListSet::StartNo},           {"StopNo", &ListSet::StopNo},
    {"CircleDegree", &ListSet::CircleDegree}, {"OutMode", &ListSet::OutMode},
    {"AngleUV", &ListSet::AngleUV},           {"AngleUW", &ListSet::AngleUW},
    {"AngleVW", &ListSet::AngleVW},
};

constexpr FieldKey<ListPhase> kListPhaseKeys[] = {
    {"Vol", &ListPhase::Vol},     {"VolLine", &ListPhase::VolLine},
    {"Freq", &ListPhase::Freq},   {"TimeH", &ListPhase::TimeH},
    {"TimeM", &ListPhase::TimeM}, {"TimeS2P", &ListPhase::TimeS2P},
    {"Wave", &ListPhase::Wave},
};

constexpr FieldKey<RampPhase> kRampPhaseKeys[] = {
    {"VolStart", &RampPhase::VolStart},
    {"VolStop", &RampPhase::VolStop},
    {"VolLineStart", &RampPhase::VolLineStart},
    {"VolLineStop", &RampPhase::VolLineStop},
    {"FreqStart", &RampPhase::FreqStart},
    {"FreqStop", &RampPhase::FreqStop},
    {"TimeH", &RampPhase::TimeH},
    {"TimeM", &RampPhase::TimeM},
    {"TimeS2P", &RampPhase::TimeS2P},
    {"Wave", &RampPhase::Wave},
};

constexpr FieldKey<CrossListSet> kCrossHeaderKeys[] = {
    {"StartNo", &CrossListSet::StartNo},
    {"StopNo", &CrossListSet::StopNo},
    {"CircleDegree", &CrossListSet::CircleDegree},
};

constexpr FieldKey<CrossSet> kCrossEntryKeys[] = {
    {"OutChannel", &CrossSet::OutChannel}, {"WaveU", &CrossSet::WaveU},
    {"WaveV", &CrossSet::WaveV},           {"WaveW", &CrossSet::WaveW},
    {"RatingVol", &CrossSet::RatingVol},   {"RatingFreq", &CrossSet::RatingFreq},
    {"RatingTime", &CrossSet::RatingTime}, {"CrossAngle", &CrossSet::CrossAngle},
    {"DropVol", &CrossSet::DropVol},       {"KeepTime", &CrossSet::KeepTime},
    {"RiseTime", &CrossSet::RiseTime},     {"ResumeVol", &CrossSet::ResumeVol},
    {"EndTime", &CrossSet::EndTime},
};

// Keys and section names that are built from numbers, made once.
struct KeyTables {
  std::array<QByteArray, 10> GroupSections;               // G0Value .. G9Value
  std::array<QByteArray, kProgramStepCount> StepSections; // G00Value .. G99Value
  std::vector<QByteArray> ListStepKeys;                   // VolU, VolLineU, ... WaveW
  std::vector<QByteArray> RampStepKeys;                   // VolStartU, ... WaveW
  std::vector<QByteArray> THDKeys;                        // N020Percent, N020Angle, ... N400Angle

  KeyTables() {
    for (int n = 0; n < 10; ++n)
      GroupSections[n] = "G" + QByteArray::number(n) + "Value";
    for (int n = 0; n < kProgramStepCount; ++n)
      StepSections[n] = "G" + QByteArray::number(n).rightJustified(2, '0') + "Value";
    const char *const suffixes[] = {"U", "V", "W"};
    for (const char *suffix : suffixes) {
      for (const auto &field : kListPhaseKeys)
        ListStepKeys.push_back(QByteArray(field.Key) + suffix);
      for (const auto &field : kRampPhaseKeys)
        RampStepKeys.push_back(QByteArray(field.Key) + suffix);
    }
    // Harmonic order h replaces the "o0" of the templates "No00Percent" and
    // "No00Angle": N020Percent is order 2, N400Angle order 40.
    for (int h = 2; h <= kTHDOrders; ++h) {
      const QByteArray digits = QByteArray::number(h).rightJustified(2, '0');
      THDKeys.push_back("N" + digits + "0Percent");
      THDKeys.push_back("N" + digits + "0Angle");
    }
  }
};

const KeyTables &Keys() {
  static const KeyTables tables;
  return tables;
}

template <typename Record, std::size_t N>
void AddFields(QList<SettingItem> &items, QByteArrayView section, const FieldKey<Record> (&keys)[N],
               Record &record) {
  for (const FieldKey<Record> &key : keys)
    items.append({section, key.Key, &(record.*key.Field)});
}

void AddListStep(QList<SettingItem> &items, QByteArrayView section, ListListSet &step) {
  const auto &keys = Keys().ListStepKeys;
  constexpr std::size_t perPhase = std::size(kListPhaseKeys);
  for (std::size_t i = 0; i < keys.size(); ++i)
    items.append(
        {section, keys[i], &(step.Phase[i / perPhase].*kListPhaseKeys[i % perPhase].Field)});
}

void AddRampStep(QList<SettingItem> &items, QByteArrayView section, RampRampSet &step) {
  const auto &keys = Keys().RampStepKeys;
  constexpr std::size_t perPhase = std::size(kRampPhaseKeys);
  for (std::size_t i = 0; i < keys.size(); ++i)
    items.append(
        {section, keys[i], &(step.Phase[i / perPhase].*kRampPhaseKeys[i % perPhase].Field)});
}

void AddTHDGroup(QList<SettingItem> &items, QByteArrayView section, THDSet &group) {
  const auto &keys = Keys().THDKeys;
  for (int n = 1; n < kTHDOrders; ++n) {
    items.append({section, keys[2 * (n - 1)], &group.Percent[n]});
    items.append({section, keys[2 * (n - 1) + 1], &group.Angle[n]});
  }
}

} // namespace

const SettingKindInfo &SettingKindOf(SettingKind kind) { return kKinds[static_cast<int>(kind)]; }

namespace {

// A "One" kind names its group, step or entry by index; the "All" kinds take none.
bool IndexOutOfRange(SettingKind kind, int index) {
  const int count = SettingKindOf(kind).IndexCount;
  return count > 0 && (index < 0 || index >= count);
}

} // namespace

const SettingKindInfo *SettingKindByType(int32_t type) {
  for (const SettingKindInfo &info : kKinds)
    if (info.Type == type)
      return &info;
  return nullptr;
}

const SettingKindInfo *SettingKindByName(QStringView name) {
  for (const SettingKindInfo &info : kKinds)
    if (name.compare(QLatin1StringView(info.Name), Qt::CaseInsensitive) == 0)
      return &info;
  return nullptr;
}

QList<SettingItem> SettingItems(SettingKind kind, int index) {
  QList<SettingItem> items;
  if (IndexOutOfRange(kind, index))
    return items;
  const KeyTables &keys = Keys();
  switch (kind) {
  case SettingKind::FCNorAll:
    for (int g = 0; g < kFCGroupCount; ++g)
      AddFields(items, keys.GroupSections[g], kFCGroupKeys, gNormalFCSet[g]);
    AddFields(items, kValue, kFCSystemKeys, gSystemSet);
    break;
  case SettingKind::FCNorOne:
    AddFields(items, kValue, kFCGroupKeys, gNormalFCSet[index]);
    break;
  case SettingKind::FPNorAll:
    for (int g = 0; g < kFPGroupCount; ++g)
      AddFields(items, keys.GroupSections[g], kFPGroupKeys, gNormalFPSet[g]);
    AddFields(items, kValue, kFPSystemKeys, gSystemSet);
    break;
  case SettingKind::FPNorOne:
    AddFields(items, kValue, kFPGroupKeys, gNormalFPSet[index]);
    break;
  case SettingKind::StepAll:
    AddFields(items, kValue, kStepKeys, gStepSet);
    break;
  case SettingKind::ListAll:
    AddFields(items, kValue, kProgramHeaderKeys, gListSet);
    for (int s = 0; s < kProgramStepCount; ++s)
      AddListStep(items, keys.StepSections[s], gListListSet[s]);
    break;
  case SettingKind::ListOne:
    AddListStep(items, kValue, gListListSet[index]);
    break;
  case SettingKind::RampAll:
    AddFields(items, kValue, kProgramHeaderKeys, gRampSet);
    for (int s = 0; s < kProgramStepCount; ++s)
      AddRampStep(items, keys.StepSections[s], gRampRampSet[s]);
    break;
  case SettingKind::RampOne:
    AddRampStep(items, kValue, gRampRampSet[index]);
    break;
  case SettingKind::CrossAll:
    AddFields(items, kValue, kCrossHeaderKeys, gCrossListSet);
    for (int e = 0; e < kCrossEntryCount; ++e)
      AddFields(items, keys.GroupSections[e], kCrossEntryKeys, gCrossSet[e]);
    break;
  case SettingKind::CrossOne:
    AddFields(items, kValue, kCrossEntryKeys, gCrossSet[index]);
    break;
  case SettingKind::THDAll:
    for (int g = 0; g < kTHDGroupCount; ++g)
      AddTHDGroup(items, keys.GroupSections[g], gTHDSet[g]);
    break;
  case SettingKind::THDOne:
    AddTHDGroup(items, kValue, gTHDSet[index]);
    break;
  }
  return items;
}

void SettingApplyDefaults(SettingKind kind, int index) {
  if (IndexOutOfRange(kind, index))
    return;
  switch (kind) {
  case SettingKind::FCNorAll:
    DataFCInitAll();
    break;
  case SettingKind::FCNorOne:
    DataFCInitOne(index);
    break;
  case SettingKind::FPNorAll:
    DataFPInitNormalAll();
    break;
  case SettingKind::FPNorOne:
    DataFPInitNormalOne(index);
    break;
  case SettingKind::StepAll:
    DataFPInitStepAll();
    break;
  case SettingKind::ListAll:
    DataFPInitListAll();
    break;
  case SettingKind::ListOne:
    DataFPInitListOne(index);
    break;
  case SettingKind::RampAll:
    DataFPInitRampAll();
    break;
  case SettingKind::RampOne:
    DataFPInitRampOne(index);
    break;
  case SettingKind::CrossAll:
    DataFPInitCrossAll();
    break;
  case SettingKind::CrossOne:
    DataFPInitCrossOne(index);
    break;
  case SettingKind::THDAll:
    DataFPInitTHDAll();
    break;
  case SettingKind::THDOne:
    DataFPInitTHDOne(index);
    break;
  }
}

int SettingNormalise(SettingKind kind, int index, int32_t model) {
  if (IndexOutOfRange(kind, index))
    return 0;
  // The family's routine; FC files take the FCS rules for every family but
  // FCT, the other normal and program files none for families without them.
  switch (kind) {
  case SettingKind::FCNorAll:
    return DataFCCheckAllByModel(model);
  case SettingKind::FCNorOne:
    return DataFCCheckOneByModel(model, index);
  case SettingKind::FPNorAll:
    return DataFPNormalCheckAllByModel(model);
  case SettingKind::FPNorOne:
    return DataFPNormalCheckOneByModel(model, index);
  case SettingKind::StepAll:
    return DataStepCheckByModel(model);
  case SettingKind::ListAll:
    return DataListCheckAllByModel(model);
  case SettingKind::ListOne:
    return DataListCheckOneByModel(model, index);
  case SettingKind::RampAll:
    return DataRampCheckAllByModel(model);
  case SettingKind::RampOne:
    return DataRampCheckOneByModel(model, index);
  case SettingKind::CrossAll:
    return DataGSCrossCheckAll();
  case SettingKind::CrossOne:
    return DataGSCrossCheckOne(index);
  case SettingKind::THDAll:
    return DataTHDCheckAll();
  case SettingKind::THDOne:
    return DataTHDCheckOne(index);
  }
  return 0;
}

int SettingReadDocument(SettingKind kind, const IniFile &document, int index) {
  const SettingKindInfo &info = SettingKindOf(kind);
  if (document.GetInt(kFileInfo, kType) != info.Type)
    return 0;
  if (IndexOutOfRange(kind, index))
    return 0;
  // Harmonics missing from the file read as 0.
  if (kind == SettingKind::THDAll || kind == SettingKind::THDOne)
    SettingApplyDefaults(kind, index);
  for (const SettingItem &item : SettingItems(kind, index))
    if (const std::optional<int32_t> value = document.GetInt(item.Section, item.Key))
      *item.Field = *value;
  return 1;
}

void SettingWriteDocument(SettingKind kind, IniFile &document, int index) {
  document.SetInt(kFileInfo, kType, SettingKindOf(kind).Type);
  for (const SettingItem &item : SettingItems(kind, index))
    document.SetInt(item.Section, item.Key, *item.Field);
}

QString SettingFindingsText(const SettingFindings &findings) {
  QString text;
  for (const SettingFinding &f : findings)
    text += QString("%1.%2: %3 -> %4\n")
                .arg(QLatin1StringView(f.Section), QLatin1StringView(f.Key))
                .arg(f.Read)
                .arg(f.Kept);
  return text;
}

int SettingReadDocumentChecked(SettingKind kind, const IniFile &document, int index,
                               int32_t modelType, SettingFindings *findings) {
  if (SettingReadDocument(kind, document, index) == 0)
    return 0;
  const QList<SettingItem> items = SettingItems(kind, index);
  QList<int32_t> read;
  read.reserve(items.size());
  for (const SettingItem &item : items)
    read.append(*item.Field);
  SettingNormalise(kind, index, modelType);
  for (qsizetype i = 0; findings && i < items.size(); ++i)
    if (*items[i].Field != read[i])
      findings->append({items[i].Section, items[i].Key, read[i], *items[i].Field});
  return 1;
}

int SettingFileRead(SettingKind kind, const QString &path, int index, SettingFindings *findings) {
  return SettingFileReadForModel(kind, path, index, gPowerInfo.ModelType, findings);
}

int SettingFileReadForModel(SettingKind kind, const QString &path, int index, int32_t modelType,
                            SettingFindings *findings) {
  if (!QFileInfo::exists(path)) {
    SettingApplyDefaults(kind, index);
    return 0;
  }
  IniFile document;
  document.LoadFile(path); // an unreadable file fails the Type check
  return SettingReadDocumentChecked(kind, document, index, modelType, findings);
}

int SettingFileWrite(SettingKind kind, const QString &path, int index) {
  if (IndexOutOfRange(kind, index))
    return 1;
  IniFile document;
  if (QFileInfo::exists(path))
    document.LoadFile(path); // a file that cannot be read gives an empty document
  SettingWriteDocument(kind, document, index);
  document.SaveFile(path); // the old file stays when this fails; not reported
  return 1;
}

int FileReadNormalFCAll(const QString &path) {
  return SettingFileRead(SettingKind::FCNorAll, path);
}
int FileWriteNormalFCAll(const QString &path) {
  return SettingFileWrite(SettingKind::FCNorAll, path);
}
int FileReadNormalFCOne(const QString &path, int group) {
  return SettingFileRead(SettingKind::FCNorOne, path, group);
}
int FileWriteNormalFCOne(const QString &path, int group) {
  return SettingFileWrite(SettingKind::FCNorOne, path, group);
}
int FileReadNormalFPAll(const QString &path) {
  return SettingFileRead(SettingKind::FPNorAll, path);
}
int FileWriteNormalFPAll(const QString &path) {
  return SettingFileWrite(SettingKind::FPNorAll, path);
}
int FileReadNormalFPOne(const QString &path, int group) {
  return SettingFileRead(SettingKind::FPNorOne, path, group);
}
int FileWriteNormalFPOne(const QString &path, int group) {
  return SettingFileWrite(SettingKind::FPNorOne, path, group);
}
int FileReadStep(const QString &path) { return SettingFileRead(SettingKind::StepAll, path); }
int FileWriteStep(const QString &path) { return SettingFileWrite(SettingKind::StepAll, path); }
int FileReadListAll(const QString &path) { return SettingFileRead(SettingKind::ListAll, path); }
int FileWriteListAll(const QString &path) { return SettingFileWrite(SettingKind::ListAll, path); }
int FileReadListOne(const QString &path, int step) {
  return SettingFileRead(SettingKind::ListOne, path, step);
}
int FileWriteListOne(const QString &path, int step) {
  return SettingFileWrite(SettingKind::ListOne, path, step);
}
int FileReadRampAll(const QString &path) { return SettingFileRead(SettingKind::RampAll, path); }
int FileWriteRampAll(const QString &path) { return SettingFileWrite(SettingKind::RampAll, path); }
int FileReadRampOne(const QString &path, int step) {
  return SettingFileRead(SettingKind::RampOne, path, step);
}
int FileWriteRampOne(const QString &path, int step) {
  return SettingFileWrite(SettingKind::RampOne, path, step);
}
int FileReadCrossAll(const QString &path) { return SettingFileRead(SettingKind::CrossAll, path); }
int FileWriteCrossAll(const QString &path) { return SettingFileWrite(SettingKind::CrossAll, path); }
int FileReadCrossOne(const QString &path, int entry) {
  return SettingFileRead(SettingKind::CrossOne, path, entry);
}
int FileWriteCrossOne(const QString &path, int entry) {
  return SettingFileWrite(SettingKind::CrossOne, path, entry);
}
int FileReadTHDAll(const QString &path) { return SettingFileRead(SettingKind::THDAll, path); }
int FileWriteTHDAll(const QString &path) { return SettingFileWrite(SettingKind::THDAll, path); }
int FileReadTHDOne(const QString &path, int group) {
  return SettingFileRead(SettingKind::THDOne, path, group);
}
int FileWriteTHDOne(const QString &path, int group) {
  return SettingFileWrite(SettingKind::THDOne, path, group);
}
