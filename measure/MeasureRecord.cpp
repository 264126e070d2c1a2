#include "measure/MeasureRecord.h"

#include "measure/Database.h"
#include "records/Globals.h"

namespace {

bool RecordingTick(int tickCounter) {
  return tickCounter % 10 == 3 && gPowerInfo.Connected && gPowerInfo.OutputRunning;
}

int32_t CurrentOutMode() {
  const int32_t group = gCurrentNormalGroup;
  if (gPowerInfo.ModelType == kModelFCS)
    return 5;
  if (gPowerInfo.ModelType == kModelFCT)
    return group >= 0 && group < kFCGroupCount ? gNormalFCSet[static_cast<size_t>(group)].OutMode
                                               : 0;
  return group >= 0 && group < kFPGroupCount ? gNormalFPSet[static_cast<size_t>(group)].OutMode : 0;
}

int SaveIfNewSecond() {
  if (gDateTimeNow.Second == gDateTimeLast.Second)
    return 0;
  // The identifier may fill its array without a terminating NUL.
  char model[sizeof gPowerInfo.PowerModelStr + 1] = {};
  for (size_t i = 0; i < gPowerInfo.PowerModelStr.size() && gPowerInfo.PowerModelStr[i]; ++i)
    model[i] = gPowerInfo.PowerModelStr[i];
  const int result = DatabaseMeasureSaveNewRecord(model, gPowerInfo.ModelType, CurrentOutMode(),
                                                  gDatabaseInfo, gDateTimeNow, gMeasureOutput);
  DateTimeCopy(gDateTimeNow, gDateTimeLast);
  return result == 0 ? 1 : 0;
}

} // namespace

int MeasureRecordOnTick(int tickCounter) {
  if (!RecordingTick(tickCounter))
    return 0;
  DateTimeGetNow(gDateTimeNow);
  return SaveIfNewSecond();
}

int MeasureRecordOnTick(int tickCounter, const DateTime &now) {
  if (!RecordingTick(tickCounter))
    return 0;
  DateTimeCopy(now, gDateTimeNow);
  return SaveIfNewSecond();
}
