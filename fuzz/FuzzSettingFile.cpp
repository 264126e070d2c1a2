// Setting files, "Set.Dat" and the INI text under them, as a user may have
// edited them. The first byte chooses the model whose normalisation applies
// (low three bits) and where the kind is written (high bit: into a new
// document, else into the one read, as "check --out" and the program's saves
// do); the second the group, step or entry a One file goes into; the rest is
// the file. Properties checked on every input:
//  - the INI document written back reads as the same sections and values;
//  - a file accepted as a kind, once normalised, is written and reads back
//    as the same kind with the same values, with nothing left for the
//    normalisation to correct.
#include "FuzzSupport.h"

#include "comm/CommSettings.h"
#include "records/Globals.h"
#include "storage/IniDeal.h"
#include "storage/IniFile.h"
#include "storage/SoftSet.h"

#include <QTemporaryDir>

namespace {

constexpr int32_t kModels[] = {kModelFCT, kModelFCS, kModelFSA, kModelFSB,
                               kModelFPA, kModelFPB, kModelGS,  kModelFL};

std::vector<int32_t> Values(const QList<SettingItem> &items) {
  std::vector<int32_t> values;
  for (const SettingItem &item : items)
    values.push_back(*item.Field);
  return values;
}

// The INI layer alone: every item of every section survives a write.
void CheckIniRoundTrip(const IniFile &document) {
  IniFile again;
  again.LoadText(document.ToText());
  FUZZ_CHECK(again.Sections() == document.Sections());
  for (const QByteArray &section : document.Sections())
    for (const QByteArray &key : document.Keys(section))
      FUZZ_CHECK(again.GetString(section, key) == document.GetString(section, key));
}

// Reads a document into the kind's part of the records, from its defaults,
// as the kind's reader does; the values.
std::optional<std::vector<int32_t>> ReadKind(SettingKind kind, const IniFile &document, int index,
                                             int32_t model, bool normalise) {
  SettingApplyDefaults(kind, index);
  if (SettingReadDocument(kind, document, index) != 1)
    return std::nullopt;
  if (normalise)
    SettingNormalise(kind, index, model);
  return Values(SettingItems(kind, index));
}

void CheckKind(SettingKind kind, IniFile &document, int index, int32_t model, bool intoNew) {
  const std::optional<std::vector<int32_t>> read = ReadKind(kind, document, index, model, true);
  if (!read)
    return;
  IniFile fresh;
  IniFile &written = intoNew ? fresh : document;
  SettingWriteDocument(kind, written, index);
  IniFile back;
  back.LoadText(written.ToText());
  // A field the file does not give back must not keep the value read.
  for (const SettingItem &item : SettingItems(kind, index))
    *item.Field = ~*item.Field;
  FUZZ_CHECK(ReadKind(kind, back, index, model, false) == read);
  FUZZ_CHECK(SettingNormalise(kind, index, model) == 0);
}

std::vector<int32_t> SoftSetValues() {
  std::vector<int32_t> values = Values(SoftSetItems());
  for (const char c : gPowerInfo.CommTypeRS232Device)
    values.push_back(c);
  return values;
}

void CheckSoftSet(IniFile &document) {
  DataInitCommSet();
  if (SoftSetReadDocument(document) != 1)
    return;
  DataCheckCommSet();
  const std::vector<int32_t> read = SoftSetValues();
  SoftSetWriteDocument(document);
  IniFile back;
  back.LoadText(document.ToText());
  const int32_t model = gPowerInfo.ModelType;
  ResetProgramState();
  gPowerInfo.ModelType = model;
  DataInitCommSet();
  FUZZ_CHECK(SoftSetReadDocument(back) == 1);
  FUZZ_CHECK(DataCheckCommSet() == 0);
  FUZZ_CHECK(SoftSetValues() == read);
}

void MakeSeeds(const SeedWriter &write) {
  for (int k = 0; k < kSettingKindCount; ++k) {
    const SettingKindInfo &kind = SettingKindOf(static_cast<SettingKind>(k));
    for (const int32_t model : {kModelFCT, kModelGS}) {
      ResetProgramState();
      gPowerInfo.ModelType = model;
      SettingApplyDefaults(kind.Kind, 0);
      IniFile document;
      SettingWriteDocument(kind.Kind, document, 0);
      // The GS seeds are written into a new document.
      const char head[] = {static_cast<char>(model - kModelFCT + (model == kModelGS ? 0x80 : 0)),
                           0};
      write(QString("%1-%2").arg(kind.Name).arg(model), QByteArray(head, 2) + document.ToText());
    }
  }
  ResetProgramState();
  DataInitCommSet();
  IniFile setDat;
  SoftSetWriteDocument(setDat);
  write("SetDat", QByteArray(2, '\0') + setDat.ToText());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  FuzzInitialize(argc, argv, MakeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2)
    return 0;
  const int32_t model = kModels[data[0] % std::size(kModels)];
  const bool intoNew = (data[0] & 0x80) != 0;
  const int index = data[1];
  IniFile document;
  document.LoadText(
      QByteArray(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2)));
  CheckIniRoundTrip(document);

  const std::optional<int32_t> type = document.GetInt("FileInfo", "Type");
  ResetProgramState();
  gPowerInfo.ModelType = model;
  if (type == kSoftSetType) {
    CheckSoftSet(document);
  } else if (const SettingKindInfo *kind = type ? SettingKindByType(*type) : nullptr) {
    CheckKind(kind->Kind, document, kind->IndexCount > 0 ? index % kind->IndexCount : 0, model,
              intoNew);
  }
  return 0;
}
