#include "roughness_colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace kavi::tool {

namespace {
constexpr const char* kWaterColour = "#1f78c8";

struct Rgb {
  double r, g, b;
};
constexpr std::array<Rgb, 4> kLandRamp = {
    {{212, 170, 0}, {232, 116, 28}, {192, 34, 59}, {91, 26, 110}}};

std::string Hex(const Rgb& c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<int>(std::lround(c.r)),
                static_cast<int>(std::lround(c.g)), static_cast<int>(std::lround(c.b)));
  return text;
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
  const double at = t * (kLandRamp.size() - 1);
  const std::size_t i = std::min(static_cast<std::size_t>(at), kLandRamp.size() - 2);
  const double f = at - static_cast<double>(i);
  const Rgb& a = kLandRamp[i];
  const Rgb& b = kLandRamp[i + 1];
  return Hex({a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f});
}

}  // namespace kavi::tool
