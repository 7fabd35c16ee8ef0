#include <cmath>

#include "numerics/weibull.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

constexpr float kShapeStart = 2.0f;
constexpr float kBisectionTolerance = 0.003f;

float Sign(float g) { return g < 0.0f ? -1.0f : 1.0f; }

// G(k) = c − ln Γ(1 + n/k)/n + ln Γ(1 + m/k)/m; zero at the wanted shape.
struct MomentEquation {
  float c;
  float m;
  float n;
  float operator()(float k) const {
    return c - LogGamma(1.0f + n / k) / n + LogGamma(1.0f + m / k) / m;
  }
};

}  // namespace

float SolveWeibullShape(float c, int m, int n) {
  if (!std::isfinite(c) || m <= 0 || n <= 0) return kShapeStart;
  const MomentEquation G{c, static_cast<float>(m), static_cast<float>(n)};
  float best = kShapeStart;
  float bestAbs = std::fabs(G(kShapeStart));
  auto evaluate = [&](float k) {
    const float g = G(k);
    if (std::fabs(g) < bestAbs) {
      bestAbs = std::fabs(g);
      best = k;
    }
    return g;
  };
  const float s0 = Sign(G(kShapeStart));
  // Bracket: halve the lower end and double the upper end in turn until G
  // changes sign, within the searched range.
  float lower = kShapeStart;
  float upper = kShapeStart;
  float a = 0.0f;
  float b = 0.0f;
  for (;;) {
    const bool canLower = lower / 2.0f >= kMinSolvedShape;
    const bool canRaise = upper * 2.0f <= kMaxSolvedShape;
    if (!canLower && !canRaise) return best;
    if (canLower) {
      const float newLower = lower / 2.0f;
      if (Sign(evaluate(newLower)) != s0) {
        a = newLower;
        b = lower;
        break;
      }
      lower = newLower;
    }
    if (canRaise) {
      const float newUpper = upper * 2.0f;
      if (Sign(evaluate(newUpper)) != s0) {
        a = upper;
        b = newUpper;
        break;
      }
      upper = newUpper;
    }
  }
  // Bisect, keeping the sign change between a and b.
  const float sa = Sign(G(a));
  float mid = 0.0f;
  do {
    mid = (a + b) / 2.0f;
    if (Sign(G(mid)) == sa) {
      a = mid;
    } else {
      b = mid;
    }
  } while (b - a > kBisectionTolerance);
  return mid;
}

}  // namespace kavi::numerics
