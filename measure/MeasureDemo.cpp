#include "measure/MeasureDemo.h"

#include "records/PowerModel.h"

#include <QSqlDatabase>
#include <cmath>

int MeasureDemoFill(DatabaseInfo &info, const MeasureDemoPlan &plan) {
  if (!info.Connected)
    return -1;
  constexpr int64_t kRowsPerCommit = 50000;
  constexpr double kPi = 3.14159265358979323846;
  QSqlDatabase db = QSqlDatabase::database(info.Handle, false);
  DateTime t{};
  DateTimeSetSeconds(t, plan.Start);
  CalDateTimeFromVarToTime(t);
  MeasureOutput m{};
  db.transaction();
  for (int64_t s = 0; s < plan.Seconds; ++s, DateTimeAddSecond(1, t)) {
    if (plan.GapAt >= 0 && s >= plan.GapAt && s < plan.GapAt + plan.GapLength)
      continue;
    const double day = std::sin(2 * kPi * static_cast<double>(s) / 86400.0);
    for (int p = 0; p < kMeasurePhases; ++p) {
      const int ripple = static_cast<int>((s * 7 + p * 13) % 9) - 4;
      m.At(kMeasVoltage, p) = 2300 + static_cast<int>(std::lround(15 * day)) + ripple + 5 * p;
      m.At(kMeasCurrent, p) = 150 + static_cast<int>(std::lround(10 * day)) + ripple / 2;
      m.At(kMeasFrequency, p) = 5000 + ripple;
      m.At(kMeasPower, p) = 3300 + static_cast<int>(std::lround(250 * day)) + 5 * ripple;
      m.At(kMeasApparentPower, p) = 3400 + static_cast<int>(std::lround(250 * day)) + 5 * ripple;
      m.At(kMeasPowerFactor, p) = 970 + ripple;
      m.At(kMeasCrestFactor, p) = 1414 + ripple;
      m.At(kMeasPeakCurrent, p) = 212 + static_cast<int>(std::lround(14 * day)) + ripple;
    }
    if (s == plan.DipAt)
      m.At(kMeasVoltage, 0) = kMeasureDemoDipVoltage;
    DatabaseMeasureSaveNewRecord("FPA-3300", kModelFPA, 0, info, t, m);
    if ((s + 1) % kRowsPerCommit == 0) {
      db.commit();
      db.transaction();
    }
  }
  db.commit();
  return 0;
}
