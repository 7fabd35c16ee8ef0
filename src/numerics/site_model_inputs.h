// Guards and small shared pieces of the site model. The roughness rose, the
// height and the grid may come from files or hosts unchecked; these helpers
// bring every value into the range where the formulas hold, so that no
// logarithm sees a non-positive number and no exponential overflows.
#pragma once

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/site_model.h"

namespace kavi::numerics::site_model {

// Roughness lengths above this count as this: far beyond any real surface, it
// keeps the profile ratios of the model inside single precision.
constexpr float kLargestRoughness = 100.0f;
// Change distances beyond this count as this (m): farther than any map reaches.
constexpr float kLargestFetch = 1.0e7f;
// Decay exponents are capped here before exponentiation.
constexpr float kLargestDecayExponent = 10.0f;

// A roughness length in [kRoughnessFloor, kLargestRoughness] (water and bad
// values alike are raised to the floor; NaN counts as the floor).
inline float UsableRoughness(float z0) {
  return std::min(std::max(kRoughnessFloor, z0), kLargestRoughness);
}

// A distance in [0, kLargestFetch]; negative and NaN count as 0.
inline float UsableFetch(float x) { return std::min(std::max(0.0f, x), kLargestFetch); }

// A height above ground of at least 0; negative and NaN count as the ground.
inline float UsableHeight(float z) { return std::max(0.0f, z); }

// 1 - exp(-min(t, 10)) for t >= 0, accurate also where t is tiny.
inline float DecayWeight(float t) { return -std::expm1(-std::min(t, kLargestDecayExponent)); }

// The grid length scale M (m), or 0 when there is no usable orographic grid.
inline float GridLengthScale(const Context& ctx) {
  const float m = ctx.grid.lengthScale;
  return (m > 0.0f && std::isfinite(m)) ? m : 0.0f;
}

// The unit vector that the wind of sector `sector` (0 … nsec - 1) blows
// towards: sector 1 is centred on north, bearings run clockwise.
inline WindVector SectorDirection(int sector, int nsec) {
  const float bearing = static_cast<float>(sector) * 360.0f / static_cast<float>(nsec);
  const float theta = std::fmod(450.0f - bearing, 360.0f) / kDegreesPerRadian;
  return {-std::cos(theta), -std::sin(theta)};
}

}  // namespace kavi::numerics::site_model
