// The parameter vector elements that steer the roughness rose, read with the
// limits the rose needs.
#pragma once

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/parameter_elements.h"

namespace kavi::numerics::rose {

// Element n rounded to the nearest integer (halves away from zero) and limited
// to lo … hi; a value that is not a number counts as lo.
inline int RoundedParameter(const Context& ctx, int n, int lo, int hi) {
  const float value = ctx.Parameter(n);
  if (std::isnan(value)) return lo;
  return static_cast<int>(
      std::lround(std::clamp(value, static_cast<float>(lo), static_cast<float>(hi))));
}

}  // namespace kavi::numerics::rose
