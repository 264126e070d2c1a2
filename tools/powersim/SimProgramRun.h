// Where a running Step, List, Ramp or Cross program stands after a given
// time, and what each phase outputs there. Pure functions of the program
// records, so a test can ask for any moment without running a clock.
//
// Step, List and Ramp time is counted in 0.01 s (hours x 360000 + minutes x
// 6000 + hundredths); Cross time in ms.
#pragma once

#include "records/SettingRecords.h"

#include <array>
#include <cstdint>

struct SimPhaseRun {
  int32_t Step = 0;       // Step: 0..StepCnt; List, Ramp: 0..99; Cross: entry 0..7
  int64_t TimeInStep = 0; // time already run in that step
  int64_t StepLength = 0; // length of that step
  int32_t Vol = 0;        // 0.1 V
  int32_t Freq = 0;       // 0.01 Hz
  int32_t Wave = 0;       // 0 sine, n = THD group n - 1
  bool On = true;         // false: the phase carries no output
};

struct SimRunPoint {
  bool Finished = false; // the program has run its whole length
  int32_t Cycle = 1;     // List, Ramp, Cross: the repetition running, from 1
  std::array<SimPhaseRun, 3> Phase{};
};

int64_t SimStepDuration(int32_t hours, int32_t minutes, int32_t hundredths);

SimRunPoint SimStepAt(const StepSet &step, int64_t elapsed);
SimRunPoint SimListAt(const ListSet &header,
                      const std::array<ListListSet, kProgramStepCount> &steps, int64_t elapsed);
SimRunPoint SimRampAt(const RampSet &header,
                      const std::array<RampRampSet, kProgramStepCount> &steps, int64_t elapsed);
SimRunPoint SimCrossAt(const CrossListSet &header,
                       const std::array<CrossSet, kCrossEntryCount> &entries, int64_t elapsedMs);

// Total run time of a program, all repetitions included (Step: the longest
// phase). 0 for a program without length.
int64_t SimStepLength(const StepSet &step);
int64_t SimListLength(const ListSet &header,
                      const std::array<ListListSet, kProgramStepCount> &steps);
int64_t SimRampLength(const RampSet &header,
                      const std::array<RampRampSet, kProgramStepCount> &steps);
int64_t SimCrossLength(const CrossListSet &header,
                       const std::array<CrossSet, kCrossEntryCount> &entries);
