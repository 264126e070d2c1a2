#include "tools/powersim/SimDefaults.h"

#include "records/Globals.h"
#include "settings/NormalSet.h"
#include "settings/ProgramSet.h"

SettingRecords SimDefaultRecords(int32_t modelType) {
  // The default and check routines work on the program's records; run them
  // there and put the program's records back afterwards.
  const SettingRecords saved = gProgram.Settings;
  const int32_t savedModel = gPowerInfo.ModelType;
  gPowerInfo.ModelType = modelType;
  DataFCInitAll();
  DataFPInitNormalAll();
  DataNormalCheckAllByModel(modelType);
  DataFPInitStepAll();
  DataFPInitListAll();
  DataFPInitRampAll();
  DataFPInitCrossAll();
  DataFPInitTHDAll();
  DataStepCheckByModel(modelType);
  DataListCheckAllByModel(modelType);
  DataRampCheckAllByModel(modelType);
  SettingRecords defaults = gProgram.Settings;
  gProgram.Settings = saved;
  gPowerInfo.ModelType = savedModel;
  defaults.System.DeviceSysByte = 1; // the source's panel speaks English
  return defaults;
}
