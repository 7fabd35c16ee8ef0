// The root search shared by the Weibull fit and the moment solver: bracket
// outward from a start value, then bisect.
#pragma once

#include <cmath>

namespace kavi::numerics {

// The root of G found by bracketing outward from `start` — halving the lower
// end and doubling the upper end in turn, as long as each stays within
// [lowest, highest] — and then bisecting, keeping the sign change, until the
// bracket is at most `tolerance` wide (the result is the last midpoint).
// Without a sign change in range, the point with the smallest |G| seen.
template <class Function>
float BracketedRoot(const Function& G, float start, float lowest, float highest, float tolerance) {
  auto sign = [](float g) { return g < 0.0f ? -1.0f : 1.0f; };
  float best = start;
  float bestAbs = std::fabs(G(start));
  auto evaluate = [&](float x) {
    const float g = G(x);
    if (std::fabs(g) < bestAbs) {
      bestAbs = std::fabs(g);
      best = x;
    }
    return g;
  };
  const float s0 = sign(G(start));
  float lower = start;
  float upper = start;
  float a = 0.0f;
  float b = 0.0f;
  for (;;) {
    const bool canLower = lower / 2.0f >= lowest;
    const bool canRaise = upper * 2.0f <= highest;
    if (!canLower && !canRaise) return best;
    if (canLower) {
      const float newLower = lower / 2.0f;
      if (sign(evaluate(newLower)) != s0) {
        a = newLower;
        b = lower;
        break;
      }
      lower = newLower;
    }
    if (canRaise) {
      const float newUpper = upper * 2.0f;
      if (sign(evaluate(newUpper)) != s0) {
        a = upper;
        b = newUpper;
        break;
      }
      upper = newUpper;
    }
  }
  const float sa = sign(G(a));
  float mid = 0.0f;
  do {
    mid = (a + b) / 2.0f;
    if (sign(G(mid)) == sa) {
      a = mid;
    } else {
      b = mid;
    }
  } while (b - a > tolerance);
  return mid;
}

}  // namespace kavi::numerics
