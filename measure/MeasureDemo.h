// Synthetic measurement rows: the demonstration database of the history
// panel (a week with a dip and a gap) and the benchmark's month of rows.
#pragma once

#include "measure/Database.h"

#include <cstdint>

struct MeasureDemoPlan {
  int64_t Start = 0;   // first second
  int64_t Seconds = 0; // length of the record, gap included
  int64_t DipAt = -1;  // offset of a one-second dip of the voltage, -1 none
  int64_t GapAt = -1;  // offset of a run of seconds without rows, -1 none
  int64_t GapLength = 0;
};

// The voltage (0.1 V) of phase U in the dip second.
constexpr int32_t kMeasureDemoDipVoltage = 1500;

// Appends one row per second of an FPA source running three-phase at about
// 230 V, 15 A and 3.3 kW with a slow daily swing and a small ripple, in
// transactions of many rows (far faster than the recording's one commit per
// row). Returns -1 when the database is not open, else 0.
int MeasureDemoFill(DatabaseInfo &info, const MeasureDemoPlan &plan);
