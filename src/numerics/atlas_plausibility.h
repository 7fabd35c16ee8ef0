// What an atlas read from a file must look like before it is used: Weibull
// parameters a wind climate can have, classes and heights in order.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

constexpr float kMaxAtlasWeibullA = 100.0f;  // m/s
constexpr float kMinAtlasWeibullK = 0.5f;
constexpr float kMaxAtlasWeibullK = 20.0f;

// True when the standard roughness lengths and heights increase strictly, and
// in every sector with a positive frequency A lies in 0 … 100 m/s and k in
// 0.5 … 20 at every height. Sectors that never blow may hold anything.
bool AtlasIsPlausible(const AtlasTables& atlas, int sectors);

}  // namespace kavi::numerics
