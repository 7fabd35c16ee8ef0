#include "numerics/solve_weibull_shape.h"

#include <cmath>

#include "numerics/bracketed_root.h"
#include "numerics/weibull.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

constexpr float kShapeStart = 2.0f;
constexpr float kBisectionTolerance = 0.003f;

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
  return BracketedRoot(G, kShapeStart, kMinSolvedShape, kMaxSolvedShape, kBisectionTolerance);
}

}  // namespace kavi::numerics
