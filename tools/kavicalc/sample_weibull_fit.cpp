#include "sample_weibull_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kavi::tool {

namespace {
constexpr double kLowestShape = 0.05;
constexpr double kHighestShape = 100;
constexpr double kShapeTolerance = 1e-10;  // relative
constexpr int kMostSteps = 200;

// The speeds' logarithms relative to their weighted mean logarithm, so that
// x^k stays within range for any shape.
struct LogSpeeds {
  std::vector<double> logs;  // ln u - meanLog
  std::vector<double> weights;
  double meanLog = 0;
  double total = 0;
};

LogSpeeds Logarithms(std::span<const double> speeds, std::span<const double> weights) {
  LogSpeeds s;
  s.logs.reserve(speeds.size());
  for (std::size_t i = 0; i < speeds.size(); ++i) {
    const double w = weights.empty() ? 1.0 : weights[i];
    if (!(speeds[i] > 0) || !(w > 0)) continue;
    s.logs.push_back(std::log(speeds[i]));
    if (!weights.empty()) s.weights.push_back(w);
    s.total += w;
    s.meanLog += w * s.logs.back();
  }
  if (s.total > 0) s.meanLog /= s.total;
  for (double& l : s.logs) l -= s.meanLog;
  return s;
}

// The likelihood equation of the shape k, with x the speeds relative to their
// geometric mean (whose mean logarithm is 0):
//   g(k) = Σ w x^k ln x / Σ w x^k − 1/k = 0,
// increasing in k; with its slope for Newton steps and Σ w x^k for the scale.
struct ShapeEquation {
  double g;
  double slope;
  double sumPower;
};

ShapeEquation Evaluate(const LogSpeeds& s, double k) {
  double sumPower = 0;
  double sumPowerLog = 0;
  double sumPowerLog2 = 0;
  for (std::size_t i = 0; i < s.logs.size(); ++i) {
    const double w = s.weights.empty() ? 1.0 : s.weights[i];
    const double l = s.logs[i];
    const double p = w * std::exp(k * l);
    sumPower += p;
    sumPowerLog += p * l;
    sumPowerLog2 += p * l * l;
  }
  const double mean = sumPowerLog / sumPower;
  return {mean - 1 / k, sumPowerLog2 / sumPower - mean * mean + 1 / (k * k), sumPower};
}

// The shape whose spread of ln u matches the speeds': for a Weibull
// distribution the standard deviation of ln u is π / (k √6).
double StartingShape(const LogSpeeds& s) {
  double variance = 0;
  for (std::size_t i = 0; i < s.logs.size(); ++i)
    variance += (s.weights.empty() ? 1.0 : s.weights[i]) * s.logs[i] * s.logs[i];
  variance /= s.total;
  const double k = std::numbers::pi / std::sqrt(6 * variance);
  return std::clamp(k, kLowestShape, kHighestShape);
}
}  // namespace

std::optional<WeibullFit> FitWeibullToSpeeds(std::span<const double> speeds,
                                             std::span<const double> weights) {
  const LogSpeeds s = Logarithms(speeds, weights);
  bool distinct = false;
  for (const double l : s.logs) distinct = distinct || l != s.logs.front();
  if (!distinct) return std::nullopt;

  // Newton steps from the moment estimate, kept inside a bracket of the root
  // that every evaluation narrows; a step leaving it halves the bracket instead.
  double low = kLowestShape;
  double high = kHighestShape;
  double k = StartingShape(s);
  ShapeEquation e = Evaluate(s, k);
  for (int step = 0; step < kMostSteps; ++step) {
    (e.g < 0 ? low : high) = k;
    double next = k - e.g / e.slope;
    if (!(next > low && next < high)) next = (low + high) / 2;
    const bool settled = std::fabs(next - k) <= kShapeTolerance * k;
    k = next;
    e = Evaluate(s, k);
    if (settled) break;
  }
  if (!(k > kLowestShape && k < kHighestShape) || !std::isfinite(e.sumPower)) return std::nullopt;
  const double A = std::exp(s.meanLog) * std::pow(e.sumPower / s.total, 1 / k);
  return WeibullFit{A, k};
}

double WeibullDensity(const WeibullFit& fit, double u) {
  if (u < 0 || fit.A <= 0) return 0;
  const double x = u / fit.A;
  return fit.k / fit.A * std::pow(x, fit.k - 1) * std::exp(-std::pow(x, fit.k));
}

}  // namespace kavi::tool
