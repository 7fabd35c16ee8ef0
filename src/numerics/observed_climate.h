// The observed wind climate file (a station's joint frequency table of wind
// speed and direction) and the Weibull fits made from it.
#pragma once

#include <string_view>

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

constexpr int kObservedClimateUnit = 11;  // unit of the file for OpenDataFile
constexpr int kClimateLineWidth = 1086;   // characters of a line that are read

// Reads the file into `climate`. Body format flags: 0 (and any value other
// than those below) per-bin frequencies; 1 cumulative from below; -1
// exceedance from above, the last line closing the last bin; other negative
// values move the upper limits as -1 does but keep the table; 2 Weibull A and
// k per sector. Afterwards every sector column sums to 1000 (or is all zero)
// and the sector frequencies to 100.
// A file that cannot be opened or read, ends before its third line, does not
// fit the storage (more than 100 bins, more than 3600 table entries or more
// than 100 sectors), has a speed factor that is not positive, upper limits
// that decrease, are negative or exceed 1000 m/s, a negative frequency (also
// after undoing a cumulative or exceedance table) or no observation at all
// sets the status to 4 and leaves `climate` as it was.
// More than 36 sectors are read as they are; the caller refuses them.
void ReadObservedClimate(Context& ctx, ObservedClimate& climate, std::string_view name);

}  // namespace kavi::numerics
