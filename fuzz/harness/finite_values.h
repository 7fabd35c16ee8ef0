// Checks that the numbers a step hands on are numbers.
#pragma once

#include <cmath>

namespace kavi::fuzz {

inline bool AllFinite(const float* values, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) return false;
  }
  return true;
}

}  // namespace kavi::fuzz
