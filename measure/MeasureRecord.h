// The once-a-second measurement recording, driven by the 50 ms timer.
#pragma once

#include "records/DateTime.h"

// Called on every 50 ms tick with the tick counter. On ticks whose counter
// mod 10 is 3, while connected and the output runs, it reads the clock into
// gDateTimeNow and, when the second differs from gDateTimeLast's, saves one
// row of gMeasureOutput to gDatabaseInfo (out mode: FCT the current FC
// group's, FCS 5, other models the current FP group's) and copies the time
// into gDateTimeLast. Returns 1 when a row was saved, else 0.
int MeasureRecordOnTick(int tickCounter);

// The same with the time given instead of read from the clock.
int MeasureRecordOnTick(int tickCounter, const DateTime &now);
