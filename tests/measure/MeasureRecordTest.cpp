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

// A row is stored on tick 3 of every 10, connected and running, when the
// seconds field moved on (only it is compared: a tick within the same second
// or a minute later at the same second stores nothing).
TEST_F(MeasureRecordTest, StoresOnlyWhenDue) {
  const struct {
    int Tick;
    int32_t Connected, Running;
    int SecondsAhead; // of the last stored row
    int Stored;
  } cases[] = {{1233, 1, 1, 5, 1}, {13, 1, 1, 0, 0}, {4, 1, 1, 1, 0}, {3, 0, 1, 1, 0},
               {3, 1, 0, 1, 0},    {3, 1, 1, 60, 0}, {3, 1, 1, 1, 1}};
  int rows = 0;
  for (const auto &c : cases) {
    gPowerInfo.Connected = c.Connected;
    gPowerInfo.OutputRunning = c.Running;
    const DateTime last = gDateTimeLast, at = AddSeconds(last, c.SecondsAhead);
    EXPECT_EQ(MeasureRecordOnTick(c.Tick, at), c.Stored);
    EXPECT_EQ(gDateTimeLast.LongSecond, (c.Stored ? at : last).LongSecond);
    rows += c.Stored;
    EXPECT_EQ(Stored("count(*)")[0].toInt(), rows) << c.Tick << " " << c.SecondsAhead;
  }
  EXPECT_EQ(Stored("TimeStr")[0].toString(), "2024-05-06 07:08:14");
}

// The output mode stored is that of the current group of the family.
TEST_F(MeasureRecordTest, TakesTheOutModeOfTheFamily) {
  const struct {
    int32_t Model, Group, FCOutMode, FPOutMode, Stored;
  } cases[] = {{kModelFCT, 6, 3, 1, 3}, {kModelFCS, 2, 0, 1, 5}, {kModelGS, 0, 2, 16, 16}};
  gPowerInfo.PowerModelStr.fill('A'); // no terminating NUL
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto &c = cases[i];
    gPowerInfo.ModelType = c.Model;
    gCurrentNormalGroup = c.Group;
    gNormalFCSet[static_cast<size_t>(c.Group)].OutMode = c.FCOutMode;
    gNormalFPSet[static_cast<size_t>(c.Group)].OutMode = c.FPOutMode;
    ASSERT_EQ(MeasureRecordOnTick(3, AddSeconds(gDateTimeLast, 1)), 1);
    EXPECT_EQ(Stored("OutMode")[i].toInt(), c.Stored) << c.Model;
    EXPECT_EQ(Stored("ModelTypeVar")[i].toInt(), c.Model);
  }
  EXPECT_EQ(Stored("PowerModelStr")[0].toString(), QString(12, 'A'));
}

} // namespace
