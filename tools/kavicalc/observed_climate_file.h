// The observed wind climate file that the atlas calculation reads: a binned
// histogram (format flag 0) with the station's position and height.
#pragma once

#include <string>

#include "binned_climate.h"

namespace kavi::tool {

struct StationHeader {
  std::string title;  // one line; control characters become blanks
  double latitude = 0;
  double longitude = 0;
  double height = 0;  // m above ground
};

// The file's text: title; latitude, longitude, height; sector count, speed
// factor 1, offset 0, flag 0; sector frequencies in percent; then per bin its
// upper limit and per sector the bin's frequency per mille of the sector,
// calms spread over the first bin, and an empty closing bin, because the
// engine's Weibull fit of a histogram leaves the last bin out.
std::string ObservedClimateText(const StationHeader& station, const BinnedClimate& climate);

}  // namespace kavi::tool
