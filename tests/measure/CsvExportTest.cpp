#include "MeasureTestUtil.h"

#include "records/PowerModel.h"

#include <QFileInfo>
#include <array>

namespace {

using Items = std::array<int32_t, kExportItemCount>;

class CsvExportTest : public TempDbTest {
protected:
  void SetUp() override {
    TempDbTest::SetUp();
    ASSERT_EQ(DatabaseOpenMeasureRecordByName(Path(), Info), 0);
  }
  void TearDown() override { DatabaseClose(Info); }

  // Exports and returns the file, or "<failed>".
  std::string Export(const Items &items, const DateTime &start, int32_t duration, int32_t step,
                     int32_t chinese) {
    if (DatabaseRecordWriteToFileCvs(Csv(), items, Info, start, duration, step, chinese) != 0)
      return "<failed>";
    return ReadFile(Csv());
  }
  QString Csv() const { return File("out.csv"); }

  // Rows with every quantity and phase set, one at each offset (seconds).
  void SaveRows(const DateTime &start, std::initializer_list<int> offsets) {
    for (int s : offsets) {
      MeasureOutput m{};
      for (int q = 0; q < kMeasureQuantities; ++q)
        for (int p = 0; p < kMeasurePhases; ++p)
          m.At(q, p) = 100 * s + 10 * q + p;
      ASSERT_EQ(
          DatabaseMeasureSaveNewRecord("FPA-3300", kModelFPA, 0, Info, AddSeconds(start, s), m), 0);
    }
  }

  DatabaseInfo Info;
};

const DateTime kStart = MakeTime(2024, 3, 5, 7, 8, 9);

// The start and the duration (hours unbounded), then the selected columns.
TEST_F(CsvExportTest, WritesTheTwoHeaderLines) {
  const struct {
    Items Selected;
    int32_t Duration, Chinese;
    const char *Text;
  } cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 1},
       3723,
       0,
       "MeasureRecordStartTime:2024-03-05 07:08:09 LastTimes:    1:02:03\n"
       "PowerModel,RecordTime,IpkU(A),IpkV(A),IpkW(A)\n"},
      {{1, 1, 1, 1, 1, 1, 1, 1},
       360000000,
       0,
       "MeasureRecordStartTime:2024-03-05 07:08:09 LastTimes:100000:00:00\n"
       "PowerModel,RecordTime,VolU(V),VolV(V),VolW(V),CurrU(A),CurrV(A),CurrW(A),FreqU(Hz),"
       "FreqV(Hz),FreqW(Hz),PowerU(kW),PowerV(kW),PowerW(kW),VA_U(kVA),VA_V(kVA),VA_W(kVA),PF_U,"
       "PF_V,PF_W,CF_U,CF_V,CF_W,IpkU(A),IpkV(A),IpkW(A)\n"},
      {{1, 1, 1, 1, 1, 1, 1, 1},
       90061,
       1,
       "测量记录起始时间:2024-03-05 07:08:09 记录持续时间:   25:01:01\n"
       "电源型号,记录时间,U相电压(V),V相电压(V),W相电压(V),U相电流(A),V相电流(A),W相电流(A),"
       "U相频率(Hz),V相频率(Hz),W相频率(Hz),U相有功(kW),V相有功(kW),W相有功(kW),U相总功(kVA),"
       "V相总功(kVA),W相总功(kVA),U相功率因数,V相功率因数,W相功率因数,U相波峰系数,V相波峰系数,"
       "W相波峰因数,U相电流波峰(A),V相电流峰值(A),W相电流波峰(A)\n"},
  };
  for (const auto &c : cases) // no rows in the span
    EXPECT_EQ(Export(c.Selected, kStart, c.Duration, 1000000000, c.Chinese), c.Text);
}

// Rows exist at start - 1, + 0, 1, 2, 4, 5, 6 (not 3) and 1234, and past
// 2068 (2^31 seconds after 2000) at + 3 and 6. Value of quantity q, phase p
// at offset s: (100 s + 10 q + p) / divisor; negative at start - 1.
TEST_F(CsvExportTest, WritesOneLinePerStoredTimeFromStartPlusStep) {
  const DateTime k2068 = MakeTime(2068, 1, 19, 3, 14, 5);
  SaveRows(kStart, {-1, 0, 1, 2, 4, 5, 6, 1234});
  SaveRows(k2068, {3, 6});
  const struct {
    const char *Name;
    DateTime Start;
    Items Selected;
    int32_t Duration, Step;
    std::vector<std::string> Rows; // the lines after the two headers
  } cases[] = {
      // clang-format off
    {"voltage_step1", kStart, {1, 0, 0, 0, 0, 0, 0, 0}, 5, 1,
     {"FPA-3300,2024-03-05 07:08:10,10.0,10.1,10.2", "FPA-3300,2024-03-05 07:08:11,20.0,20.1,20.2",
      "FPA-3300,2024-03-05 07:08:13,40.0,40.1,40.2", "FPA-3300,2024-03-05 07:08:14,50.0,50.1,50.2"}},
    {"step2_passes_duration", kStart, {0, 1, 0, 0, 0, 0, 0, 0}, 5, 2,
     {"FPA-3300,2024-03-05 07:08:11,21.0,21.1,21.2", "FPA-3300,2024-03-05 07:08:13,41.0,41.1,41.2",
      "FPA-3300,2024-03-05 07:08:15,61.0,61.1,61.2"}},
    {"step3_skips_missing", kStart, {1, 0, 0, 0, 0, 0, 0, 0}, 7, 3, {"FPA-3300,2024-03-05 07:08:15,60.0,60.1,60.2"}},
    {"step0_is_one_second", kStart, {0, 0, 1, 0, 0, 0, 0, 0}, 2, 0,
     {"FPA-3300,2024-03-05 07:08:10,1.20,1.21,1.22", "FPA-3300,2024-03-05 07:08:11,2.20,2.21,2.22"}},
    {"every_format", kStart, {1, 1, 1, 1, 1, 1, 1, 1}, 1, 1,
     {"FPA-3300,2024-03-05 07:08:10,10.0,10.1,10.2,11.0,11.1,11.2,1.20,1.21,1.22, 0.1, 0.1, 0.1,"
      " 0.1, 0.1, 0.1,0.150,0.151,0.152,0.160,0.161,0.162,17.0,17.1,17.2"}},
    {"zero_duration", kStart, {1, 1, 1, 1, 1, 1, 1, 1}, 0, 1, {}},
    {"negative", AddSeconds(kStart, -2), {1, 0, 1, 0, 0, 1, 0, 0}, 1, 1,
     {"FPA-3300,2024-03-05 07:08:08,-10.0,-9.9,-9.8,-0.80,-0.79,-0.78,-0.050,-0.049,-0.048"}},
    {"wider_than_the_column", AddSeconds(kStart, 1233), {1, 0, 0, 0, 0, 0, 0, 0}, 1, 1,
     {"FPA-3300,2024-03-05 07:28:43,12340.0,12340.1,12340.2"}},
    {"past_2068", k2068, {1, 0, 0, 0, 0, 0, 0, 0}, 6, 3,
     {"FPA-3300,2068-01-19 03:14:08,30.0,30.1,30.2", "FPA-3300,2068-01-19 03:14:11,60.0,60.1,60.2"}},
      // clang-format on
  };
  for (const auto &c : cases) {
    const std::string text = Export(c.Selected, c.Start, c.Duration, c.Step, 0);
    std::string want;
    for (const std::string &row : c.Rows)
      want += row + "\n";
    EXPECT_EQ(text.substr(text.find('\n', text.find('\n') + 1) + 1), want) << c.Name;
  }
}

TEST_F(CsvExportTest, FailsOnlyWhenTheFileCannotBeOpened) {
  const Items all{1, 1, 1, 1, 1, 1, 1, 1};
  WriteAll(Csv(), QByteArray(10000, 'x')); // an earlier export is replaced
  EXPECT_EQ(DatabaseRecordWriteToFileCvs(File("missing/out.csv"), all, Info, kStart, 10, 1, 0), -1);
  // A folder by that name cannot be removed as a file.
  EXPECT_EQ(DatabaseRecordWriteToFileCvs(Dir.Path(), all, Info, kStart, 10, 1, 0), -1);
  EXPECT_EQ(DatabaseRecordWriteToFileCvs(Csv(), all, Info, kStart, 10, 1, 0), 0);
  EXPECT_EQ(ReadFile(Csv()).find('x'), std::string::npos);
}

} // namespace
