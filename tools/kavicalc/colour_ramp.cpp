#include "colour_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kavi::tool {

namespace {
struct Rgb {
  double r, g, b;
};

Rgb Parse(const char* colour) {
  const long value = std::strtol(colour + 1, nullptr, 16);
  return {static_cast<double>((value >> 16) & 0xFF), static_cast<double>((value >> 8) & 0xFF),
          static_cast<double>(value & 0xFF)};
}

int Channel(double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0))); }
}  // namespace

const std::vector<RampStop>& RampStops() {
  static const std::vector<RampStop> stops = {
      {0.0, "#440154"},   {0.125, "#472d7b"}, {0.25, "#3b528b"},
      {0.375, "#2c728e"}, {0.5, "#21918c"},   {0.625, "#28ae80"},
      {0.75, "#5ec962"},  {0.875, "#addc30"}, {1.0, "#fde725"}};
  return stops;
}

std::string RampColour(double t) { return ColourBetween(RampStops(), t); }

std::string ColourBetween(const std::vector<RampStop>& stops, double t) {
  t = std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.0;
  std::size_t upper = 1;
  while (upper + 1 < stops.size() && stops[upper].offset < t) ++upper;
  const RampStop& a = stops[upper - 1];
  const RampStop& b = stops[upper];
  const double f = (t - a.offset) / (b.offset - a.offset);
  const Rgb from = Parse(a.colour);
  const Rgb to = Parse(b.colour);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", Channel(from.r + f * (to.r - from.r)),
                Channel(from.g + f * (to.g - from.g)), Channel(from.b + f * (to.b - from.b)));
  return text;
}

}  // namespace kavi::tool
