#include "storage/SoftSet.h"

#include "comm/CommSettings.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr QByteArrayView kFileInfo = "FileInfo";
constexpr QByteArrayView kType = "Type";
constexpr QByteArrayView kValue = "Value";
// Added after the items of older versions, which ignore it and keep it.
constexpr QByteArrayView kDeviceKey = "CommTypeRS232Device";

struct SoftSetItem {
  const char *Key;
  int32_t PowerInfo::*Field;
};

// In the order they are written.
constexpr SoftSetItem kItems[] = {
    {"LastPowerModel", &PowerInfo::ModelType},
    {"SoftwareAddress", &PowerInfo::SoftwareAddress},
    {"CommType", &PowerInfo::CommType},
    {"CommTypeRS232Port", &PowerInfo::CommTypeRS232Port},
    {"CommTypeRS232Baudrate", &PowerInfo::CommTypeRS232Baudrate},
    {"CommTypeLAN_IP1", &PowerInfo::CommTypeLAN_IP1},
    {"CommTypeLAN_IP2", &PowerInfo::CommTypeLAN_IP2},
    {"CommTypeLAN_IP3", &PowerInfo::CommTypeLAN_IP3},
    {"CommTypeLAN_IP4", &PowerInfo::CommTypeLAN_IP4},
    {"CommTypeLAN_Port", &PowerInfo::CommTypeLAN_Port},
    {"CommTypeGPIBPort", &PowerInfo::CommTypeGPIBPort},
    {"Language", &PowerInfo::Language},
    // Added later; an older file without them leaves both options off.
    {"CommReplyPacing", &PowerInfo::CommReplyPacing},
    {"CommAutoReconnect", &PowerInfo::CommAutoReconnect},
};

struct AutoSaveFile {
  SettingKind Kind;
  const char *Extension;
};

constexpr AutoSaveFile kFCFiles[] = {{SettingKind::FCNorAll, "FCNorAll"}};
constexpr AutoSaveFile kFSFiles[] = {{SettingKind::FPNorAll, "FPNorAll"}};
constexpr AutoSaveFile kFPFiles[] = {
    {SettingKind::FPNorAll, "FPNorAll"}, {SettingKind::StepAll, "StepAll"},
    {SettingKind::ListAll, "ListAll"},   {SettingKind::RampAll, "RampAll"},
    {SettingKind::THDAll, "THDAll"},
};
constexpr AutoSaveFile kGSFiles[] = {
    {SettingKind::FPNorAll, "FPNorAll"}, {SettingKind::StepAll, "StepAll"},
    {SettingKind::ListAll, "ListAll"},   {SettingKind::RampAll, "RampAll"},
    {SettingKind::CrossAll, "CrossAll"}, {SettingKind::THDAll, "THDAll"},
};

struct Family {
  int32_t Model;
  const char *Name;
  const AutoSaveFile *Files;
  int FileCount;
};

template <std::size_t N>
constexpr Family MakeFamily(int32_t model, const char *name, const AutoSaveFile (&files)[N]) {
  return {model, name, files, static_cast<int>(N)};
}

constexpr Family kFamilies[] = {
    MakeFamily(kModelFCT, "FCT", kFCFiles), MakeFamily(kModelFCS, "FCS", kFCFiles),
    MakeFamily(kModelFSA, "FSA", kFSFiles), MakeFamily(kModelFSB, "FSB", kFSFiles),
    MakeFamily(kModelFPA, "FPA", kFPFiles), MakeFamily(kModelFPB, "FPB", kFPFiles),
    MakeFamily(kModelGS, "GS", kGSFiles),   MakeFamily(kModelFL, "FL", kFSFiles),
};

const Family *FindFamily(int32_t model) {
  for (const Family &family : kFamilies)
    if (family.Model == model)
      return &family;
  return nullptr;
}

QString AutoSaveName(const Family &family, const AutoSaveFile &file) {
  return QStringLiteral("AutoSave%1.%2")
      .arg(QLatin1StringView(family.Name), QLatin1StringView(file.Extension));
}

} // namespace

void AutoSaveModel(int32_t model) {
  const Family *family = FindFamily(model);
  if (family == nullptr)
    return;
  for (int i = 0; i < family->FileCount; ++i)
    SettingFileWrite(family->Files[i].Kind, AutoSaveName(*family, family->Files[i]));
}

int FileReadSoftSet(const QString &path) {
  if (!QFileInfo::exists(path)) {
    // First start: the documented first-start values (192.168.0.1 and so on),
    // which the range check alone would not give for the second octet.
    DataInitCommSet();
    DataCheckCommSet();
    return 0;
  }
  IniFile document;
  document.LoadFile(path);
  if (SoftSetReadDocument(document) != 1)
    return 0;
  DataCheckCommSet();
  return 1;
}

int SoftSetReadDocument(const IniFile &document) {
  if (document.GetInt(kFileInfo, kType) != kSoftSetType)
    return 0;
  for (const SoftSetItem &item : kItems)
    if (const std::optional<int32_t> value = document.GetInt(kValue, item.Key))
      gPowerInfo.*item.Field = *value;
  if (const std::optional<QByteArray> device = document.GetString(kValue, kDeviceKey)) {
    auto &target = gPowerInfo.CommTypeRS232Device;
    // The path ends at a NUL, as it is written back, or at a carriage
    // return, which no path holds and the file could not give back.
    const qsizetype end = std::find_if(device->cbegin(), device->cend(),
                                       [](char c) { return c == '\0' || c == '\r'; }) -
                          device->cbegin();
    const qsizetype length = std::min<qsizetype>(end, target.size() - 1);
    std::copy_n(device->constData(), length, target.begin());
    target[length] = '\0';
  }
  return 1;
}

QList<SettingItem> SoftSetItems() {
  QList<SettingItem> items;
  for (const SoftSetItem &item : kItems)
    items.append({kValue, QByteArrayView(item.Key), &(gPowerInfo.*item.Field)});
  return items;
}

int FileWriteSoftSet(const QString &path) {
  IniFile document;
  if (QFileInfo::exists(path))
    document.LoadFile(path);
  SoftSetWriteDocument(document);
  document.SaveFile(path);
  return 1;
}

void SoftSetWriteDocument(IniFile &document) {
  document.SetInt(kFileInfo, kType, kSoftSetType);
  for (const SoftSetItem &item : kItems)
    document.SetInt(kValue, item.Key, gPowerInfo.*item.Field);
  const auto &device = gPowerInfo.CommTypeRS232Device;
  const auto end = std::find(device.begin(), device.end(), '\0');
  document.SetString(kValue, kDeviceKey, QByteArray(device.data(), end - device.begin()));
}

QStringList AutoSaveFileNames(int32_t modelType) {
  QStringList names;
  if (const Family *family = FindFamily(modelType))
    for (int i = 0; i < family->FileCount; ++i)
      names.append(AutoSaveName(*family, family->Files[i]));
  return names;
}

void AutoSaveFCT() { AutoSaveModel(kModelFCT); }
void AutoSaveFCS() { AutoSaveModel(kModelFCS); }
void AutoSaveFSA() { AutoSaveModel(kModelFSA); }
void AutoSaveFSB() { AutoSaveModel(kModelFSB); }
void AutoSaveFPA() { AutoSaveModel(kModelFPA); }
void AutoSaveFPB() { AutoSaveModel(kModelFPB); }
void AutoSaveGS() { AutoSaveModel(kModelGS); }
void AutoSaveFL() { AutoSaveModel(kModelFL); }

void AutoSaveSetting() {
  AutoSaveModel(gPowerInfo.ModelType);
  FileWriteSoftSet(kSoftSetFileName);
}

void AutoLoadSetting(int32_t modelType) {
  gCurrentNormalGroup = 0;
  const Family *family = FindFamily(modelType);
  if (family == nullptr)
    return;
  for (int i = 0; i < family->FileCount; ++i)
    SettingFileReadForModel(family->Files[i].Kind, AutoSaveName(*family, family->Files[i]), 0,
                            modelType);
}
