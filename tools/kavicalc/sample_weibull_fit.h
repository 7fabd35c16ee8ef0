// The Weibull distribution that fits a set of wind speeds best by maximum
// likelihood. Speeds may carry weights (counts of a binned table).
#pragma once

#include <optional>
#include <span>

namespace kavi::tool {

struct WeibullFit {
  double A;  // scale, m/s
  double k;  // shape
};

// The maximum-likelihood fit of the positive speeds (others are left out),
// each with its weight (all 1 when weights is empty). Nothing when fewer than
// two distinct positive speeds carry weight, as no shape can be told then.
std::optional<WeibullFit> FitWeibullToSpeeds(std::span<const double> speeds,
                                             std::span<const double> weights = {});

// The Weibull probability density at speed u, per m/s.
double WeibullDensity(const WeibullFit& fit, double u);

}  // namespace kavi::tool
