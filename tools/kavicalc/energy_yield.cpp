#include "energy_yield.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>

namespace kavi::tool {

namespace {
constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kKilowattHoursPerMegawattHour = 1000.0;

bool IsPositive(double value) { return std::isfinite(value) && value > 0; }

// For a linear piece P(u) = a + b u on [u0, u1], with x = (u/A)^k:
//   ∫ p(u) du   = exp(-x0) - exp(-x1)
//   ∫ u p(u) du = A Γ(1 + 1/k) [γ(1 + 1/k, x1) - γ(1 + 1/k, x0)]  (regularised γ)
// The differences are taken from whichever tail keeps them accurate.
struct WeibullPiece {
  double probability;  // ∫ p(u) du over the piece
  double firstMoment;  // ∫ u p(u) du over the piece
};

WeibullPiece Piece(double u0, double u1, double A, double k) {
  const double x0 = std::pow(u0 / A, k);
  const double x1 = std::pow(u1 / A, k);
  const double s = 1.0 + 1.0 / k;
  const double mean = A * std::tgamma(s);
  // Above the median the upper tails, below it the lower ones.
  if (x0 > 1.0) {
    return {std::exp(-x0) - std::exp(-x1),
            mean * (boost::math::gamma_q(s, x0) - boost::math::gamma_q(s, x1))};
  }
  return {-std::expm1(-x1) + std::expm1(-x0),
          mean * (boost::math::gamma_p(s, x1) - boost::math::gamma_p(s, x0))};
}
}  // namespace

double WeibullMeanSpeed(double A, double k) {
  if (!IsPositive(A) || !IsPositive(k)) return kNotANumber;
  return A * std::tgamma(1.0 + 1.0 / k);
}

double ExpectedPower(const PowerCurve& curve, double A, double k) {
  if (!IsPositive(A) || !IsPositive(k)) return kNotANumber;
  double power = 0;
  for (std::size_t i = 0; i + 1 < curve.points.size(); ++i) {
    const PowerCurvePoint& p0 = curve.points[i];
    const PowerCurvePoint& p1 = curve.points[i + 1];
    const double b = (p1.power - p0.power) / (p1.speed - p0.speed);
    const double a = p0.power - b * p0.speed;
    const WeibullPiece piece = Piece(p0.speed, p1.speed, A, k);
    power += a * piece.probability + b * piece.firstMoment;
  }
  return power;
}

double SectorEnergyYield(const PowerCurve& curve, double frequency, double A, double k) {
  return kHoursPerYear * frequency / 100.0 * ExpectedPower(curve, A, k) /
         kKilowattHoursPerMegawattHour;
}

}  // namespace kavi::tool
