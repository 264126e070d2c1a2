// Small helpers shared by the setting checks.
#pragma once

#include "programs/Arithmetic.h"

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
