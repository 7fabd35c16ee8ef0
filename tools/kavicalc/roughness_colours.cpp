#include "roughness_colours.h"

#include <algorithm>
#include <cmath>

#include "colour_ramp.h"

namespace kavi::tool {

namespace {
constexpr const char* kWaterColour = "#1f78c8";

// Land from the smoothest z0 present (yellow) to the roughest (purple).
const std::vector<RampStop>& LandStops() {
  static const std::vector<RampStop> stops = {
      {0.0, "#d4aa00"}, {1.0 / 3, "#e8741c"}, {2.0 / 3, "#c0223b"}, {1.0, "#5b1a6e"}};
  return stops;
}
}  // namespace

RoughnessColours::RoughnessColours(const std::set<float>& present) {
  bool any = false;
  for (const float z0 : present) {
    if (!(z0 > 0)) continue;
    const double log = std::log10(static_cast<double>(z0));
    lowLog_ = any ? std::min(lowLog_, log) : log;
    highLog_ = any ? std::max(highLog_, log) : log;
    any = true;
  }
}

std::string RoughnessColours::Of(double z0) const {
  if (!(z0 > 0)) return kWaterColour;
  const double span = highLog_ - lowLog_;
  const double t = span > 0 ? std::clamp((std::log10(z0) - lowLog_) / span, 0.0, 1.0) : 0.5;
  return ColourBetween(LandStops(), t);
}

}  // namespace kavi::tool
