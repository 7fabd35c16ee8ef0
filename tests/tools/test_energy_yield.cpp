// Mean speed and energy yield of Weibull climates against closed forms and
// against a fine quadrature of a real turbine's curve.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "energy_yield.h"
#include "power_curve.h"
#include "usage_error.h"

namespace kavi::tool {
namespace {

double WeibullDensity(double u, double A, double k) {
  return k / A * std::pow(u / A, k - 1) * std::exp(-std::pow(u / A, k));
}

double Exceedance(double u, double A, double k) { return std::exp(-std::pow(u / A, k)); }

// Composite Simpson rule of P(u) p(u) over the curve's range.
double QuadratureExpectedPower(const PowerCurve& curve, double A, double k, int intervals) {
  const double low = curve.points.front().speed;
  const double high = curve.points.back().speed;
  const double h = (high - low) / intervals;
  const auto power = [&](double u) {
    for (std::size_t i = 0; i + 1 < curve.points.size(); ++i) {
      const PowerCurvePoint& a = curve.points[i];
      const PowerCurvePoint& b = curve.points[i + 1];
      if (u >= a.speed && u <= b.speed)
        return a.power + (b.power - a.power) * (u - a.speed) / (b.speed - a.speed);
    }
    return 0.0;
  };
  const auto f = [&](double u) { return u <= 0 ? 0.0 : power(u) * WeibullDensity(u, A, k); };
  double sum = f(low) + f(high);
  for (int i = 1; i < intervals; ++i) sum += f(low + i * h) * (i % 2 ? 4 : 2);
  return sum * h / 3;
}

PowerCurve Curve(const std::string& text) {
  std::istringstream in(text);
  return ReadPowerCurve(in, "test.csv", "predict");
}

TEST(EnergyYield, MeanSpeedMatchesKnownWeibullMeans) {
  EXPECT_NEAR(WeibullMeanSpeed(8.0, 1.0), 8.0, 1e-12);                         // exponential
  EXPECT_NEAR(WeibullMeanSpeed(8.0, 2.0), 8.0 * std::sqrt(M_PI) / 2, 1e-12);   // Rayleigh
  EXPECT_NEAR(WeibullMeanSpeed(10.0, 3.0), 10.0 * 0.8929795115692492, 1e-12);  // Γ(4/3)
  EXPECT_TRUE(std::isnan(WeibullMeanSpeed(0.0, 2.0)));
  EXPECT_TRUE(std::isnan(WeibullMeanSpeed(8.0, -1.0)));
}

TEST(EnergyYield, FlatPiecesGiveDifferencesOfTheExceedance) {
  // 1000 kW from 4 to 10 m/s, 2000 kW from 10.5 to 20 m/s, ramps between
  // and zero outside: the flat pieces are P × (exp(-(u0/A)^k) - exp(-(u1/A)^k)).
  const double A = 8.3, k = 2.1;
  const PowerCurve flat = Curve("4,1000\n10,1000\n");
  EXPECT_NEAR(ExpectedPower(flat, A, k), 1000 * (Exceedance(4, A, k) - Exceedance(10, A, k)), 1e-9);
  const PowerCurve ends = Curve("speed,power\n0,0\n25,0\n");
  EXPECT_EQ(ExpectedPower(ends, A, k), 0.0);
  // Above the median the upper tails are used: far tails stay accurate.
  const PowerCurve tail = Curve("30,3000\n40,3000\n");
  const double expected = 3000 * (Exceedance(30, A, k) - Exceedance(40, A, k));
  EXPECT_NEAR(ExpectedPower(tail, A, k) / expected, 1.0, 1e-10);
}

TEST(EnergyYield, LinearPieceGivesIncompleteGammaTerms) {
  // For k = 2, ∫_0^U u p(u) du = A [ (√π/2) erf(√x) - √x e^-x ], x = (U/A)²,
  // so a ramp from 0 to P at U gives P/U times that.
  const double A = 7.0, k = 2.0, U = 12.0, P = 3000.0;
  const double x = (U / A) * (U / A);
  const double moment =
      A * (std::sqrt(M_PI) / 2 * std::erf(std::sqrt(x)) - std::sqrt(x) * std::exp(-x));
  const PowerCurve ramp = Curve("0,0\n12,3000\n");
  EXPECT_NEAR(ExpectedPower(ramp, A, k), P / U * moment, 1e-9);
  // A ramp from 5 to 12 m/s on top of a step: the same terms between 5 and 12.
  const double x5 = (5 / A) * (5 / A);
  const double moment5 =
      A * (std::sqrt(M_PI) / 2 * std::erf(std::sqrt(x5)) - std::sqrt(x5) * std::exp(-x5));
  const double b = 3000.0 / 7.0, a = -5 * b;
  const double expected = a * (Exceedance(5, A, k) - Exceedance(12, A, k)) + b * (moment - moment5);
  EXPECT_NEAR(ExpectedPower(Curve("5,0\n12,3000\n"), A, k), expected, 1e-9);
}

TEST(EnergyYield, RealCurveAgreesWithFineQuadrature) {
  const PowerCurve curve = ReadPowerCurve(KAVI_SOURCE_DIR "/examples/e101_3050kw.csv", "predict");
  ASSERT_EQ(curve.points.size(), 71u);
  EXPECT_EQ(curve.RatedPower(), 3000.0);  // the curve never reaches the 3.05 MW of the name
  for (const auto& [A, k] : {std::pair{5.5, 1.6}, {8.0, 2.0}, {11.0, 2.6}, {14.0, 3.4}}) {
    const double exact = ExpectedPower(curve, A, k);
    const double quadrature = QuadratureExpectedPower(curve, A, k, 140000);
    EXPECT_NEAR(exact / quadrature, 1.0, 1e-7) << "A " << A << " k " << k;
  }
  // 8766 h × 30 % × E[P] / 1000 MWh.
  EXPECT_NEAR(SectorEnergyYield(curve, 30.0, 8.0, 2.0),
              8766 * 0.3 * ExpectedPower(curve, 8.0, 2.0) / 1000, 1e-9);
}

TEST(EnergyYield, AirDensityStretchesTheSpeeds) {
  const PowerCurve curve = Curve("3,0\n12,3000\n25,3000\n");
  EXPECT_EQ(AtAirDensity(curve, kStandardAirDensity).points[1].speed, 12.0);
  // An eighth of the density needs twice the speed for the same power.
  const PowerCurve thin = AtAirDensity(curve, kStandardAirDensity / 8);
  EXPECT_NEAR(thin.points[1].speed, 24.0, 1e-12);
  EXPECT_EQ(thin.points[1].power, 3000.0);
  // Thinner air, less energy.
  EXPECT_LT(ExpectedPower(AtAirDensity(curve, 1.1), 8, 2), ExpectedPower(curve, 8, 2));
}

TEST(PowerCurveReader, AcceptsHeadersCommentsAndBlanks) {
  const PowerCurve curve =
      Curve("wind_speed_ms,power_kw\n# from the data sheet\n\n 3 , 0\n4,50.5\r\n");
  ASSERT_EQ(curve.points.size(), 2u);
  EXPECT_EQ(curve.points[1].speed, 4.0);
  EXPECT_EQ(curve.points[1].power, 50.5);
}

TEST(PowerCurveReader, RefusesBadCurvesNamingTheRow) {
  const auto message = [](const std::string& text) {
    try {
      Curve(text);
    } catch (const UsageError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message("3,0\n5,10\n5,20\n"),
            "power curve test.csv: row 3: the wind speeds must increase from row to row "
            "(previous 5 m/s), got '5,20'");
  EXPECT_NE(message("3,0\n4,-1\n").find("row 2: a power must not be negative"), std::string::npos);
  EXPECT_NE(message("3,0\n4,abc\n").find("row 2: expected numbers speed,power"), std::string::npos);
  EXPECT_NE(message("3,0\n4,nan\n").find("row 2: expected numbers"), std::string::npos);
  EXPECT_NE(message("3,0,1\n").find("row 1: expected two columns"), std::string::npos);
  EXPECT_NE(message("3,0\n").find("at least two rows"), std::string::npos);
  EXPECT_NE(message("").find("at least two rows"), std::string::npos);
  // A text row after the first is no header.
  EXPECT_NE(message("3,0\nspeed,power\n4,1\n").find("row 2"), std::string::npos);
}

}  // namespace
}  // namespace kavi::tool
