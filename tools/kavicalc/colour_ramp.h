// The colour scale of quantities in the plots: an even, colour-blind safe ramp
// from dark violet through blue and green to yellow.
#pragma once

#include <string>
#include <vector>

namespace kavi::tool {

// The colour at position t of the ramp, 0 (dark) to 1 (light), as "#rrggbb";
// t is limited to 0 … 1.
std::string RampColour(double t);

struct RampStop {
  double offset;  // 0 … 1
  const char* colour;
};
// The colours the ramp interpolates between, for a gradient that shows it.
const std::vector<RampStop>& RampStops();

// The colour at position t (limited to 0 … 1) of any ramp of stops from
// offset 0 to 1, interpolated between its two neighbouring stops.
std::string ColourBetween(const std::vector<RampStop>& stops, double t);

}  // namespace kavi::tool
