#include "numerics/gamma.h"

#include <cmath>
#include <limits>

namespace kavi::numerics {

namespace {

// The series and the shifts are summed in double and rounded once, so that the
// single-precision results are as close to the true values as a float can be.
//
// Below this argument the asymptotic series is not accurate enough; smaller
// arguments are shifted up by the recurrence Γ(x + 1) = x Γ(x).
constexpr double kSeriesStart = 7.0;
// Γ(x) of a negative non-integer x beyond this lies below the smallest
// single-precision number.
constexpr float kGammaUnderflow = -50.0f;
constexpr double kPi = 3.14159265358979323846;

// ln Γ(y) for y >= 7 by Stirling's series.
double StirlingSeries(double y) {
  const double z = 1.0 / (y * y);
  const double series =
      (((-0.000595238095238 * z + 0.000793650793651) * z - 0.002777777777778) * z +
       0.083333333333333) /
      y;
  return (y - 0.5) * std::log(y) - y + 0.918938533204673 + series;
}

// ln |Γ(x)| for positive x.
double LogGammaPositive(double x) {
  if (x >= kSeriesStart) return StirlingSeries(x);
  // Γ(x) = Γ(y) / (x (x + 1) … (y − 1)) with y the first x + j reaching 7.
  double product = x;
  double y = x + 1.0;
  while (y < kSeriesStart) {
    product *= y;
    y += 1.0;
  }
  return StirlingSeries(y) - std::log(product);
}

}  // namespace

float LogGamma(float x) {
  if (std::isnan(x)) return x;
  if (std::isinf(x)) return std::numeric_limits<float>::infinity();
  if (x > 0.0f) return static_cast<float>(LogGammaPositive(x));
  // Reflection: |Γ(x)| = π / (|sin πx| Γ(1 − x)); a pole at every integer.
  if (x == std::trunc(x)) return std::numeric_limits<float>::infinity();
  const double fraction = x - std::trunc(x);
  return static_cast<float>(std::log(kPi / std::fabs(std::sin(kPi * fraction))) -
                            LogGammaPositive(1.0 - x));
}

float GammaFunction(float x) {
  if (std::isnan(x)) return x;
  if (x < kGammaUnderflow) return 0.0f;
  // Shift a negative argument up to (0, 1] by Γ(x) = Γ(x + 1) / x.
  double b = 1.0;
  double y = x;
  if (y < 0.0) {
    const int steps = 1 - static_cast<int>(x);
    for (int i = 0; i < steps; ++i) {
      b /= y;
      y += 1.0;
    }
  }
  if (y == 0.0) return std::numeric_limits<float>::infinity();  // the pole at 0
  return static_cast<float>(std::exp(LogGammaPositive(y)) * b);
}

}  // namespace kavi::numerics
