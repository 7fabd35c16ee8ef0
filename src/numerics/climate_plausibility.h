// What an observed wind climate read from a file must look like before it is
// used: a latitude on the Earth and speed bins that are bins of wind speed.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

// The highest upper limit of a climate's bins must reach this speed (m/s): a
// table that ends below it comes from a wrong unit or speed factor.
constexpr float kMinTopSpeedLimit = 1.0f;

// True when the latitude lies in −90 … 90 degrees, the upper limits of the
// bins increase strictly (the first may be 0, a bin of calms) and the last
// reaches 1 m/s. `lastLimitRepeated`: the table's format repeats the last
// limit (negative flags other than −1), which the last bin may then share
// with the one before.
bool ClimateIsPlausible(const ObservedClimate& climate, bool lastLimitRepeated);

}  // namespace kavi::numerics
