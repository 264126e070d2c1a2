#include "storage/IniDeal.h"
#include "TestSupport.h"
#include "records/Globals.h"
#include "settings/NormalSet.h"
#include "settings/ProgramSet.h"
#include "storage/IniFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

bool SameSettings(const SettingRecords &a, const SettingRecords &b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

class SettingFiles : public testing::Test {
protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(Dir.isValid());
  }
  QString Path(const QString &name) const { return Dir.filePath(name); }

  QTemporaryDir Dir;
};

// One kind with the index its One variant is tested at.
struct KindCase {
  SettingKind Kind;
  int Index;
};

std::string KindName(const testing::TestParamInfo<KindCase> &info) {
  return SettingKindOf(info.param.Kind).Name;
}

const KindCase kEveryKind[] = {
    {SettingKind::FCNorAll, 0}, {SettingKind::FCNorOne, 6}, {SettingKind::FPNorAll, 0},
    {SettingKind::FPNorOne, 9}, {SettingKind::StepAll, 0},  {SettingKind::ListAll, 0},
    {SettingKind::ListOne, 99}, {SettingKind::RampAll, 0},  {SettingKind::RampOne, 42},
    {SettingKind::CrossAll, 0}, {SettingKind::CrossOne, 7}, {SettingKind::THDAll, 0},
    {SettingKind::THDOne, 3},
};

class EveryKind : public SettingFiles, public testing::WithParamInterface<KindCase> {};

} // namespace

TEST_P(EveryKind, WhatIsWrittenIsReadBack) {
  const auto [kind, index] = GetParam();
  const QList<SettingItem> items = SettingItems(kind, index);
  ASSERT_FALSE(items.isEmpty());
  std::vector<int32_t> written;
  for (qsizetype i = 0; i < items.size(); ++i) {
    *items[i].Field = static_cast<int32_t>(i * 7919 % 20011) - 10000;
    written.push_back(*items[i].Field);
  }
  *items.first().Field = INT32_MIN;
  *items.last().Field = INT32_MAX;
  written.front() = INT32_MIN;
  written.back() = INT32_MAX;
  const QString path = Path("rw.file");
  ASSERT_EQ(SettingFileWrite(kind, path, index), 1);

  ResetProgramState();
  IniFile document;
  ASSERT_EQ(document.LoadFile(path), 0);
  ASSERT_EQ(SettingReadDocument(kind, document, index), 1);
  for (qsizetype i = 0; i < items.size(); ++i)
    EXPECT_EQ(*items[i].Field, written[i]) << items[i].Section.data() << "." << items[i].Key.data();
}

// A file of another type or of none is refused and changes nothing; a missing
// file gives the defaults. Both return 0.
TEST_P(EveryKind, WrongTypeChangesNothingAndAMissingFileGivesTheDefaults) {
  const auto [kind, index] = GetParam();
  const int32_t type = SettingKindOf(kind).Type;
  for (const SettingItem &item : SettingItems(kind, index))
    *item.Field = 777;
  const SettingRecords before = gProgram.Settings;
  SettingApplyDefaults(kind, index);
  const SettingRecords defaults = gProgram.Settings;
  const QString path = Path("typed.file");
  SettingFileWrite(kind, path, index);
  gProgram.Settings = before;

  const QByteArray text = ReadAll(path);
  const QByteArray typeLine = "Type = " + QByteArray::number(type);
  const QByteArray wrongTypes[] = {"Type = " + QByteArray::number(type + 1), "Kind = 1"};
  for (const QByteArray &wrong : wrongTypes) {
    WriteAll(path, QByteArray(text).replace(typeLine, wrong));
    EXPECT_EQ(SettingFileRead(kind, path, index), 0) << wrong.constData();
    EXPECT_TRUE(SameSettings(gProgram.Settings, before)) << wrong.constData();
  }
  EXPECT_EQ(SettingFileRead(kind, Path("missing.file"), index), 0);
  EXPECT_TRUE(SameSettings(gProgram.Settings, defaults));
}

// Read for a GS source, a file of 30001 in every field comes back corrected
// by the rules of its kind.
TEST_P(EveryKind, AFileReadForAModelIsCorrectedByItsRules) {
  const auto [kind, index] = GetParam();
  const QList<SettingItem> items = SettingItems(kind, index);
  for (const SettingItem &item : items)
    *item.Field = 30001;
  ASSERT_EQ(SettingFileWrite(kind, Path("bad.file"), index), 1);
  ASSERT_EQ(SettingFileReadForModel(kind, Path("bad.file"), index, kModelGS), 1);
  EXPECT_LT(std::count_if(items.begin(), items.end(),
                          [](const SettingItem &item) { return *item.Field == 30001; }),
            items.size());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, testing::ValuesIn(kEveryKind), KindName);

// A file read is normalised by the rules of the selected family. FPB and FSB
// cap the low range of an FP file, FPA in mode 0 and GS have none, the FC
// families and unknown codes leave FP files alone; Step files are normalised
// for the program families only.
TEST_F(SettingFiles, FileIsNormalisedByTheSelectedFamily) {
  WriteAll(Path("a.FPNorOne"), "[FileInfo]\r\nType = 81\r\n\r\n[Value]\r\nVolU = 2200\r\n"
                               "VolV = 2200\r\nVolW = 2200\r\nVolLine = 3810\r\nVolLevel = 1\r\n"
                               "OutMode = 0\r\nFreqU = 5000\r\nFreqV = 5000\r\nFreqW = 5000\r\n"
                               "OutChannel = 7\r\n\r\n");
  WriteAll(Path("a.StepAll"),
           "[FileInfo]\r\nType = 82\r\n\r\n[Value]\r\nOutMode = 5\r\nFreqStartU = 20000\r\n\r\n");
  const struct {
    bool Step;
    int32_t Model;
    std::array<int32_t, 3> Read; // VolLevel VolU VolLine, or OutMode FreqStartU
  } cases[] = {
      {false, kModelFPB, {1, 1500, 2598}}, {false, kModelFPA, {2, 2200, 3810}},
      {false, kModelFCT, {1, 2200, 3810}}, {true, kModelFPB, {0, 20000}},
      {true, kModelGS, {0, 5000}},         {true, kModelFSA, {5, 20000}},
  };
  for (const auto &c : cases) {
    ResetProgramState();
    DataFPInitStepAll();
    gPowerInfo.ModelType = c.Model;
    const NormalFPSet &g = gNormalFPSet[4];
    EXPECT_EQ(c.Step ? FileReadStep(Path("a.StepAll")) : FileReadNormalFPOne(Path("a.FPNorOne"), 4),
              1);
    const std::array<int32_t, 3> read = c.Step
                                            ? std::array{gStepSet.OutMode, gStepSet.FreqStartU, 0}
                                            : std::array{g.VolLevel, g.VolU, g.VolLine};
    EXPECT_EQ(read, c.Read) << c.Model;
  }
}

TEST_F(SettingFiles, THDHarmonicsMissingFromTheFileReadAsZero) {
  const QString path = Path("a.THDOne");
  WriteAll(path, "[FileInfo]\r\nType = 90\r\n\r\n[Value]\r\nN050Percent = 50\r\n\r\n");
  for (int n = 0; n < kTHDOrders; ++n) {
    gTHDSet[2].Percent[n] = 10;
    gTHDSet[2].Angle[n] = 10;
  }
  EXPECT_EQ(FileReadTHDOne(path, 2), 1);
  for (int n = 1; n < kTHDOrders; ++n) {
    EXPECT_EQ(gTHDSet[2].Percent[n], n == 4 ? 50 : 0) << n;
    EXPECT_EQ(gTHDSet[2].Angle[n], 0) << n;
  }
}
