#include "MeasureTestUtil.h"

#include "measure/MeasurePanelFunc.h"
#include "measure/MeasureRecord.h"
#include "records/Globals.h"

#include <cstring>

namespace {

class MeasureRecordTest : public TempDbTest {
protected:
  void SetUp() override {
    TempDbTest::SetUp();
    ResetProgramState();
    ASSERT_EQ(DatabaseOpenMeasureRecordByName(Path(), gDatabaseInfo), 0);
    gPowerInfo.Connected = 1;
    gPowerInfo.OutputRunning = 1;
    gPowerInfo.ModelType = kModelFPA;
    std::strcpy(gPowerInfo.PowerModelStr.data(), "FPA-3300");
    gMeasureOutput.At(kMeasVoltage, 0) = 2200;
    gDateTimeLast = MakeTime(2024, 5, 6, 7, 8, 9);
    DateTimeCopy(gDateTimeLast, gDateTimeNow);
  }
  void TearDown() override {
    DatabaseClose(gDatabaseInfo);
    ResetProgramState();
  }

  std::vector<QVariant> Stored(const char *column) {
    RawDb raw(Path());
    return raw.Column(QString("SELECT %1 FROM MeasureRecord ORDER BY rowid").arg(column));
  }
};

TEST_F(MeasureRecordTest, TwoTicksWithinOneSecondStoreOneRow) {
  const DateTime t = MakeTime(2024, 5, 6, 7, 8, 10);
  EXPECT_EQ(MeasureRecordOnTick(3, t), 1);
  EXPECT_EQ(MeasureRecordOnTick(13, t), 0);
  EXPECT_EQ(Stored("TimeStr"), std::vector<QVariant>{QString("2024-05-06 07:08:10")});
  EXPECT_EQ(gDateTimeLast.LongSecond, t.LongSecond);
  EXPECT_EQ(gDateTimeNow.LongSecond, t.LongSecond);
  EXPECT_EQ(MeasureRecordOnTick(23, AddSeconds(t, 1)), 1);
  EXPECT_EQ(Stored("count(*)")[0].toInt(), 2);
}

// The history panel's clear-database button while the source logs: the rows
// before it go, the recording goes on into the new file without a gap.
TEST_F(MeasureRecordTest, ClearingWhileLoggingKeepsLogging) {
  const DateTime t = MakeTime(2024, 5, 6, 7, 8, 10);
  for (int s = 0; s < 3; ++s)
    EXPECT_EQ(MeasureRecordOnTick(3, AddSeconds(t, s)), 1);
  ASSERT_EQ(HistoryClearDatabase(gDatabaseInfo, Path()), 0);
  EXPECT_EQ(Stored("count(*)")[0].toInt(), 0);
  for (int s = 3; s < 5; ++s)
    EXPECT_EQ(MeasureRecordOnTick(3, AddSeconds(t, s)), 1);
  EXPECT_EQ(Stored("TimeStr"), (std::vector<QVariant>{QString("2024-05-06 07:08:13"),
                                                      QString("2024-05-06 07:08:14")}));
  // A file another program holds cannot be replaced: it stays, and so does the recording.
  {
    RawDb holder(Path());
    holder.Column("BEGIN EXCLUSIVE");
    EXPECT_EQ(HistoryClearDatabase(gDatabaseInfo, Path()), -1);
  }
  EXPECT_EQ(MeasureRecordOnTick(3, AddSeconds(t, 5)), 1);
  EXPECT_EQ(Stored("count(*)")[0].toInt(), 3);
}

struct TickCase {
  const char *Name;
  int Tick;
  int32_t Connected;
  int32_t Running;
  int SecondsAhead; // of the last stored row
  int Stored;
};

// clang-format off
const TickCase kTickCases[] = {
    {"due", 3, 1, 1, 1, 1}, {"due_later_counter", 1233, 1, 1, 5, 1}, {"wrong_tick", 4, 1, 1, 1, 0},
    {"not_connected", 3, 0, 1, 1, 0}, {"output_off", 3, 1, 0, 1, 0}, {"same_second", 3, 1, 1, 0, 0},
    // Only the seconds field is compared: a minute later at the same second
    // stores nothing.
    {"same_second_next_minute", 3, 1, 1, 60, 0},
};
// clang-format on

class MeasureRecordTick : public MeasureRecordTest, public testing::WithParamInterface<TickCase> {};

TEST_P(MeasureRecordTick, StoresOnlyWhenDue) {
  const TickCase &c = GetParam();
  gPowerInfo.Connected = c.Connected;
  gPowerInfo.OutputRunning = c.Running;
  EXPECT_EQ(MeasureRecordOnTick(c.Tick, AddSeconds(gDateTimeLast, c.SecondsAhead)), c.Stored);
  EXPECT_EQ(Stored("count(*)")[0].toInt(), c.Stored);
}

INSTANTIATE_TEST_SUITE_P(Rule, MeasureRecordTick, testing::ValuesIn(kTickCases),
                         [](const auto &info) { return std::string(info.param.Name); });

struct OutModeCase {
  const char *Name;
  int32_t Model;
  int32_t Group;
  int32_t FCOutMode;
  int32_t FPOutMode;
  int32_t Stored;
};

// clang-format off
const OutModeCase kOutModeCases[] = {
    {"FCT_uses_FC_group", kModelFCT, 6, 3, 1, 3}, {"FCS_is_single", kModelFCS, 2, 0, 1, 5},
    {"FPA_uses_FP_group", kModelFPA, 9, 2, 5, 5}, {"GS_uses_FP_group", kModelGS, 0, 2, 16, 16},
};
// clang-format on

class MeasureRecordOutMode : public MeasureRecordTest,
                             public testing::WithParamInterface<OutModeCase> {};

TEST_P(MeasureRecordOutMode, TakesTheOutModeOfTheFamily) {
  const OutModeCase &c = GetParam();
  gPowerInfo.ModelType = c.Model;
  gCurrentNormalGroup = c.Group;
  if (c.Group < kFCGroupCount)
    gNormalFCSet[static_cast<size_t>(c.Group)].OutMode = c.FCOutMode;
  gNormalFPSet[static_cast<size_t>(c.Group)].OutMode = c.FPOutMode;
  ASSERT_EQ(MeasureRecordOnTick(3, AddSeconds(gDateTimeLast, 1)), 1);
  EXPECT_EQ(Stored("OutMode")[0].toInt(), c.Stored);
  EXPECT_EQ(Stored("ModelTypeVar")[0].toInt(), c.Model);
  EXPECT_EQ(Stored("PowerModelStr")[0].toString(), "FPA-3300");
}

INSTANTIATE_TEST_SUITE_P(Families, MeasureRecordOutMode, testing::ValuesIn(kOutModeCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(MeasureRecordTest, AModelTextFillingItsArrayIsStoredWhole) {
  gPowerInfo.PowerModelStr.fill('A');
  ASSERT_EQ(MeasureRecordOnTick(3, AddSeconds(gDateTimeLast, 1)), 1);
  EXPECT_EQ(Stored("PowerModelStr")[0].toString(), QString(12, 'A'));
}

TEST_F(MeasureRecordTest, TheClockOverloadReadsTheCurrentTime) {
  gDateTimeLast.Second = -1; // never equal
  ASSERT_EQ(MeasureRecordOnTick(3), 1);
  DateTime now{};
  DateTimeGetNow(now);
  EXPECT_LE(std::abs(DateTimeSeconds(now) - DateTimeSeconds(gDateTimeLast)), 2);
}

} // namespace
