#include "MeasureTestUtil.h"

#include "measure/MeasurePanelFunc.h"
#include "records/PowerModel.h"

#include <map>
#include <random>

namespace {

TEST(HistoryPanel, SpanGivesPointCountAndStep) {
  const struct {
    int32_t H, M, S;
    int32_t Span, SecondsField, Count;
    double XStep;
  } cases[] = {{0, 0, 0, 1, 1, 2, 1.0},
               {0, 16, 39, 999, 39, 1000, 1.0},
               {0, 16, 40, 1000, 40, 1000, 1.0},
               {2, 0, 0, 7200, 0, 1000, 7.2}};
  for (const auto &c : cases) {
    HistoryPanelState s;
    s.SpanHours = c.H;
    s.SpanMinutes = c.M;
    s.SpanSeconds = c.S;
    const int32_t span = GetDataChooseLongSecond(s);
    const TrendView v = TrendViewOfSpan(0, span);
    EXPECT_EQ(span, c.Span);
    EXPECT_EQ(s.SpanSeconds, c.SecondsField);
    EXPECT_EQ(v.Count, c.Count) << c.Span;
    EXPECT_DOUBLE_EQ(TrendXStep(v), c.XStep) << c.Span;
  }
}

// A view of 3723 s from 1000 s over 1000 points of 3.723 s: the bucket under
// the cursor, and the range the export takes (the view's start and span).
TEST(HistoryPanel, TheViewGivesTheCursorsBucketAndTheExportRange) {
  HistoryPanelState s;
  s.View = TrendViewOfSpan(DateTimeSeconds(MakeTime(2025, 3, 9, 10, 11, 12)), 3723);
  const TrendView &v = s.View;
  const double t0 = double(v.Start);
  EXPECT_EQ(
      (std::array{TrendBucketAt(v, t0 - 0.1), TrendBucketAt(v, t0), TrendBucketAt(v, t0 + 7.5),
                  TrendBucketAt(v, t0 + 3722.9), TrendBucketAt(v, t0 + 3723)}),
      (std::array{-1, 0, 2, 999, -1}));
  HistoryTakeViewForExport(s);
  EXPECT_EQ((std::array{s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second, s.ExportHours,
                        s.ExportMinutes, s.ExportSeconds}),
            (std::array{2025, 3, 9, 10, 11, 12, 1, 2, 3}));
}

TEST(HistoryPanel, DayIsClampedToTheMonth) {
  const int32_t cases[][4] = {
      {2023, 4, 31, 30}, {2100, 2, 29, 28}, {2024, 2, 31, 29}, {2023, 12, 31, 31}};
  for (const auto &c : cases) {
    HistoryPanelState s;
    s.Year = c[0];
    s.Month = c[1];
    s.Day = c[2];
    const DateTime dt = CorrectChooseYearMonthDay(s);
    EXPECT_EQ(s.Day, c[3]) << c[0] << "-" << c[1];
    EXPECT_EQ(dt.LongSecond, MakeTime(c[0], c[1], c[3], 0, 0, 0).LongSecond);
  }
}

class HistoryDbTest : public TempDbTest {
protected:
  void SetUp() override {
    TempDbTest::SetUp();
    ASSERT_EQ(DatabaseOpenMeasureRecordByName(Path(), Info), 0);
  }
  void TearDown() override { DatabaseClose(Info); }
  void Save(int64_t at, int32_t u, int32_t v = 0) {
    MeasureOutput m{};
    m.At(kMeasCurrent, 0) = u;
    m.At(kMeasCurrent, 1) = v;
    m.At(kMeasCurrent, 2) = u + v;
    ASSERT_EQ(DatabaseMeasureSaveNewRecord("GS-3100", kModelGS, 0, Info, AddSeconds(T0, at), m), 0);
  }
  const DateTime T0 = MakeTime(2025, 3, 9, 10, 11, 0);
  DatabaseInfo Info;
};

struct EnvelopeCase {
  int64_t From; // seconds after T0
  int64_t Seconds;
  int32_t Count;
  int64_t Slot; // worked out by hand: largest of 1, 10, 100, ... with Slot * Count <= Seconds
};

// Every bucket against a plain loop over the stored rows: with the slot
// summaries, from the rows alone once the summaries are gone, and with the
// summaries built anew from the rows.
TEST_F(HistoryDbTest, EnvelopeMatchesABruteForceComputation) {
  std::mt19937 random(7);
  std::map<int64_t, std::vector<int32_t>> rows;             // second -> U values (0.1 A)
  QSqlDatabase::database(Info.Handle, false).transaction(); // one commit, not one per row
  for (int64_t s = 0; s < 2400; ++s) {
    if (s % 500 > 430 || random() % 10 == 0)
      continue; // gaps, long and short
    const int32_t u = static_cast<int32_t>(random() % 1000);
    rows[s].push_back(u);
    Save(s, u, 7);
    if (s % 333 == 0) { // a second row at one time (the clock set back)
      rows[s].push_back(u + 3);
      Save(s, u + 3, 7);
    }
  }
  QSqlDatabase::database(Info.Handle, false).commit();
  const EnvelopeCase cases[] = {
      {0, 1000, 1000, 1}, {13, 700, 64, 10}, {5, 2395, 20, 100}, {-50, 2500, 250, 10}};
  const int64_t t0 = DateTimeSeconds(T0);
  for (int pass = 0; pass < 3; ++pass) {
    for (const EnvelopeCase &c : cases) {
      SCOPED_TRACE(testing::Message() << "pass " << pass << " from " << c.From);
      EXPECT_EQ(TrendSlotSeconds(c.Seconds, c.Count), c.Slot);
      std::vector<TrendBucket> got;
      ASSERT_EQ(DatabaseMeasureEnvelope(Info, t0 + c.From, c.Seconds, c.Count, kMeasCurrent, got),
                0);
      ASSERT_EQ(got.size(), static_cast<size_t>(c.Count));
      std::vector<TrendBucket> want(static_cast<size_t>(c.Count));
      std::vector<double> sums(static_cast<size_t>(c.Count));
      for (const auto &[s, values] : rows) {
        const int64_t offset = s - c.From;
        if (offset < 0 || offset >= c.Seconds)
          continue;
        const int64_t slotStart = s - (t0 + s) % c.Slot - c.From;
        TrendBucket &b =
            want[static_cast<size_t>(std::max<int64_t>(0, slotStart * c.Count / c.Seconds))];
        for (int32_t value : values) {
          const double u = value / 10.0;
          b.Min[0] = b.Rows ? std::min(b.Min[0], u) : u;
          b.Max[0] = b.Rows ? std::max(b.Max[0], u) : u;
          b.First = b.Rows ? b.First : t0 + s;
          b.Last = t0 + s;
          sums[static_cast<size_t>(&b - want.data())] += u;
          ++b.Rows;
        }
      }
      for (size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(got[i].Rows, want[i].Rows) << "bucket " << i;
        if (want[i].Rows == 0)
          continue;
        EXPECT_EQ(got[i].First, want[i].First) << i;
        EXPECT_EQ(got[i].Last, want[i].Last) << i;
        EXPECT_DOUBLE_EQ(got[i].Min[0], want[i].Min[0]) << i;
        EXPECT_DOUBLE_EQ(got[i].Max[0], want[i].Max[0]) << i;
        EXPECT_NEAR(got[i].Mean[0], sums[i] / want[i].Rows, 1e-9) << i;
        EXPECT_DOUBLE_EQ(got[i].Min[1], 0.7) << i;
        EXPECT_NEAR(got[i].Mean[2], got[i].Mean[0] + 0.7, 1e-9) << i;
      }
    }
    // The second pass reads the rows only (a file of an earlier version opened
    // read-only), the third the summaries it gets once opened for recording.
    DatabaseClose(Info);
    if (pass == 0) {
      RawDb old(Path());
      old.Column("DROP TRIGGER MeasureRollupOnInsert");
      old.Column("DROP TABLE MeasureRollup");
    }
    ASSERT_EQ(pass == 0 ? DatabaseOpenExistingMeasureRecord(Path(), Info)
                        : DatabaseOpenMeasureRecordByName(Path(), Info),
              0);
  }
}

struct RunsCase {
  std::vector<int64_t> Missing; // seconds 0..19 without row
  int32_t Points;
  std::vector<std::pair<int32_t, int32_t>> Runs;
};

TEST_F(HistoryDbTest, LinesBreakWhereRowsAreMissing) {
  const RunsCase cases[] = {
      {{10, 11}, 100, {{0, 9}, {12, 19}}}, // one point per second
      {{10, 11}, 10, {{0, 4}, {6, 9}}},    // an empty two-second bucket
      {{0, 1, 2, 3, 19}, 100, {{4, 18}}},
  };
  for (const RunsCase &c : cases) {
    ASSERT_EQ(DatabaseCreatMeasureRecordByName(Path(), Info), 0);
    for (int64_t s = 0; s < 20; ++s) {
      if (std::find(c.Missing.begin(), c.Missing.end(), s) == c.Missing.end())
        Save(s, 100);
    }
    // 20 seconds: a span of 19 s at 100 points, or of 20 s at 10 points.
    const TrendView view =
        TrendViewOfSpan(DateTimeSeconds(T0), c.Points == 100 ? 19 : 20, c.Points);
    std::vector<TrendBucket> buckets;
    ASSERT_EQ(
        DatabaseMeasureEnvelope(Info, view.Start, view.Seconds, view.Count, kMeasCurrent, buckets),
        0);
    EXPECT_EQ(TrendRuns(buckets), c.Runs) << c.Points << " points, " << c.Missing.size();
  }
}

// A cancelled or unfinished export leaves no file and an earlier one as it was.
TEST_F(HistoryDbTest, ACancelledExportLeavesNoFile) {
  Save(1, 100);
  const std::array<int32_t, kExportItemCount> items{1, 1, 0, 0, 0, 0, 0, 1};
  WriteAll(File("old.csv"), "the earlier export\n");
  for (const char *name : {"new.csv", "old.csv"}) {
    {
      CsvExportJob job;
      ASSERT_EQ(job.Begin(File(name), items, Info, T0, 4000, 1, 1, true), 0);
      EXPECT_EQ(job.Step(1000), 1);
      EXPECT_DOUBLE_EQ(job.Progress(), 0.25);
      if (std::string(name) == "new.csv")
        job.Cancel();
      // else the job goes unfinished
    }
    EXPECT_EQ(Dir.Files(), (QStringList{"Measure.mdb", "old.csv"})) << name;
  }
  EXPECT_EQ(ReadFile(File("old.csv")), "the earlier export\n");
}

} // namespace
