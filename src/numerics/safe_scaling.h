// Guards for sums of products of input values: meaningless values count as
// zero, and values are brought near 1 by powers of two (which leave every
// ratio exact) so that sums of cubes and products cannot overflow.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavi::numerics {

// x when it is a non-negative finite number, otherwise 0.
inline float NonNegativeOrZero(float x) { return x >= 0.0f && std::isfinite(x) ? x : 0.0f; }

// The smallest power of two not below x (at most the largest power of two a
// float holds, so x over it stays below 2), for a positive finite x; 1
// otherwise.
inline float PowerOfTwoAtLeast(float x) {
  if (!(x > 0.0f) || !std::isfinite(x)) return 1.0f;
  int exponent = 0;
  std::frexp(x, &exponent);  // x = m · 2^exponent with 0.5 <= m < 1
  return std::ldexp(1.0f, std::min(exponent, std::numeric_limits<float>::max_exponent - 1));
}

}  // namespace kavi::numerics
