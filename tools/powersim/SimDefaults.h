// The settings a simulated source starts with: the program's own defaults,
// normalised for the model.
#pragma once

#include "records/SettingRecords.h"

#include <cstdint>

SettingRecords SimDefaultRecords(int32_t modelType);
