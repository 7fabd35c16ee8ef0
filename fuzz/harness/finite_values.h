// Checks that the numbers a step hands on are numbers.
#pragma once

#include <cmath>

#include "numerics/calculation_arrays.h"

namespace kavi::fuzz {

inline bool AllFinite(const float* values, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) return false;
  }
  return true;
}

// Every value of the first `sectors` sectors and the all-sector pair.
inline bool AllFinite(const numerics::PredictedClimate& p, int sectors) {
  return AllFinite(p.weibullA, sectors) && AllFinite(p.weibullK, sectors) &&
         AllFinite(p.frequency, sectors) && std::isfinite(p.totalA) && std::isfinite(p.totalK);
}

}  // namespace kavi::fuzz
