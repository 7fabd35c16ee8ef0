// The decay length D (m) over which upstream roughness fades
// (kRoughnessDecayLength). The roughness rose and the site model read the same
// parameter with different upper limits, so the limit is the caller's argument.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/context.h"
#include "numerics/parameter_elements.h"

namespace kavi::numerics {

// The rose's step-profile fit: far beyond any map, and small enough that the
// weighted sums of the fit stay finite.
constexpr float kRoseLargestDecayLength = 1.0e9f;
// The site model (effective roughness and orographic roughness shift): no
// upper limit.
constexpr float kUnlimitedDecayLength = std::numeric_limits<float>::infinity();

// D limited to 1 … largest; a value that is not a number counts as 1 m.
inline float DecayLength(const Context& ctx, float largest) {
  const float value = ctx.Parameter(kRoughnessDecayLength);
  if (std::isnan(value)) return 1.0f;
  return std::clamp(value, 1.0f, largest);
}

}  // namespace kavi::numerics
