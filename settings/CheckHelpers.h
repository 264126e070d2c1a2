// Small helpers shared by the setting checks.
#pragma once

#include "programs/Arithmetic.h"
#include "records/PowerModel.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

// Replaces a field outside lo..hi (either order, ends included) by its default.
inline void FixRange(int32_t &field, int lo, int hi, int32_t def) {
  if (NumOutBound(field, lo, hi)) {
    field = def;
  }
}

// 1 when a record differs from the copy taken before the check, else 0.
template <class T> int RecordChanged(const T &before, const T &after) {
  static_assert(std::has_unique_object_representations_v<T>, "records are plain int32 fields");
  return std::memcmp(&before, &after, sizeof(T)) != 0 ? 1 : 0;
}

// 1 when index names one of count records (groups, steps, entries).
inline bool ValidIndex(int index, int count) { return index >= 0 && index < count; }

// The families whose records the checks tell apart (FC has checks of its own).
enum class CheckFamily { FSA, FSB, FPA, FPB, GS, FL };

// The family of a model code; false for FC and unknown codes.
inline bool CheckFamilyOf(int modelType, CheckFamily &f) {
  switch (modelType) {
  case kModelFSA:
    f = CheckFamily::FSA;
    return true;
  case kModelFSB:
    f = CheckFamily::FSB;
    return true;
  case kModelFPA:
    f = CheckFamily::FPA;
    return true;
  case kModelFPB:
    f = CheckFamily::FPB;
    return true;
  case kModelGS:
    f = CheckFamily::GS;
    return true;
  case kModelFL:
    f = CheckFamily::FL;
    return true;
  default:
    return false;
  }
}

// Output modes a family runs: 0 balanced, 1 separate phases, 5 single phase,
// 16 separate voltages at one frequency.
inline bool OutModeAllowed(CheckFamily f, int32_t mode) {
  switch (f) {
  case CheckFamily::FSA:
    return mode == 0 || mode == 1 || mode == 5;
  case CheckFamily::FSB:
    return mode == 0 || mode == 1;
  case CheckFamily::FPA:
    return mode == 0 || mode == 1 || mode == 5 || mode == 16;
  case CheckFamily::FPB:
    return mode == 0 || mode == 1 || mode == 16;
  case CheckFamily::GS:
    return mode == 0 || mode == 16;
  case CheckFamily::FL:
    return mode == 0;
  }
  return false;
}

// Angles back to their defaults when out of range; the V-W angle follows the
// other two in mode 16.
template <class T> void CheckAngles(T &r) {
  FixRange(r.AngleUV, 0, 3599, 1200);
  FixRange(r.AngleVW, 0, 3599, 1200);
  FixRange(r.AngleUW, 0, 3599, 2400);
  if (r.OutMode == 16) {
    r.AngleVW = AngleABAC2AngleBC(r.AngleUV, r.AngleUW);
  }
}
