// The rule behind the radial weight table of the orographic spectrum. Row k of
// the table turns a radial profile, given at the 100 zooming nodes and linear
// between them, into the order-1 Fourier–Bessel content of a band of modes on
// the unit disc. Shared by the generator program and by the test that checks
// the committed table against it; computed in double precision throughout.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavi::weight_table {

constexpr int kTerms = 62;
constexpr int kNodes = 100;
constexpr double kGrowth = 1.06;  // ratio of successive radial steps
constexpr int kLastMode = 2430;   // last mode whose scale is at least 3 node-1 radii
constexpr double kTaperSlope = 5.0;

// Radius of node j = 0 … 101 on the unit disc: steps growing by kGrowth, node
// 101 on the rim.
inline double NodeRadius(int j) {
  return (std::pow(kGrowth, j) - 1.0) / (std::pow(kGrowth, kNodes + 1) - 1.0);
}

// First mode of term k (1-based): single modes up to 10, then bands that grow
// by a tenth of their first mode.
inline int FirstMode(int term) {
  int n = 1;
  for (int k = 1; k < term; ++k) n += n / 10 + 1;
  return n;
}

inline int LastMode(int term) { return term == kTerms ? kLastMode : FirstMode(term + 1) - 1; }

// n-th positive zero of J1: McMahon's expansion refined by Newton steps
// (J1' = J0 - J1/x).
inline double BesselJ1Zero(int n) {
  const double b = (n + 0.25) * std::numbers::pi;
  double x = b - 3.0 / (8.0 * b) + 36.0 / (3.0 * std::pow(8.0 * b, 3));
  for (int pass = 0; pass < 8; ++pass) {
    const double j1 = std::cyl_bessel_j(1.0, x);
    const double step = j1 / (std::cyl_bessel_j(0.0, x) - j1 / x);
    x -= step;
    if (std::abs(step) < 1e-15 * x) break;
  }
  return x;
}

// Laplace integrals ∫₀^∞ e^(-u) (1 + u²/x²)^(∓1/2) du by Gauss–Legendre on unit
// pieces; the integrands are smooth on the scale x > 10 and the tail beyond
// u = 40 is below 5e-18.
struct LaplacePair {
  double inverse;  // exponent -1/2
  double direct;   // exponent +1/2
};

inline LaplacePair LaplaceIntegrals(double x) {
  static constexpr double kNode[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                      0.9602898564975363};
  static constexpr double kWeight[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                        0.1012285362903763};
  LaplacePair sum{0.0, 0.0};
  for (int piece = 0; piece < 40; ++piece) {
    for (int g = 0; g < 8; ++g) {
      const double offset = (g < 4 ? -kNode[g] : kNode[g - 4]) * 0.5;
      const double u = piece + 0.5 + offset;
      const double w = 0.5 * kWeight[g % 4] * std::exp(-u);
      const double root = std::sqrt(1.0 + (u / x) * (u / x));
      sum.inverse += w / root;
      sum.direct += w * root;
    }
  }
  return sum;
}

// ∫₀^x t·J1(t) dt. Power series for small x; beyond, the Struve form
// (πx/2)(J1·H0 − J0·H1) rewritten with the Wronskian J1·Y0 − J0·Y1 = 2/(πx) and
// the Laplace integrals of H − Y, which keeps full precision for large x.
inline double IntegralTJ1(double x) {
  if (x <= 10.0) {
    double term = x * x * x / 2.0;  // k = 0: x³ / (2 · 0! · 1!)
    double sum = term / 3.0;
    for (int k = 1; k < 60; ++k) {
      term *= -(x * x) / (4.0 * k * (k + 1));
      sum += term / (2 * k + 3);
      if (std::abs(term) < 1e-18 * std::abs(sum)) break;
    }
    return sum;
  }
  const LaplacePair laplace = LaplaceIntegrals(x);
  return 1.0 + std::cyl_bessel_j(1.0, x) * laplace.inverse -
         x * std::cyl_bessel_j(0.0, x) * laplace.direct;
}

// ∫₀^x t²·J1(t) dt = x²·J2(x).
inline double IntegralT2J1(double x) { return x * x * std::cyl_bessel_j(2.0, x); }

// Adds the weights of mode n, before the taper, to row[0 … 99]: the
// Fourier–Bessel coefficient 2/J2(β)² ∫ r J1(βr) φ_i(r) dr of the hat function φ_i
// of each node.
inline void AddModeWeights(int n, double row[kNodes]) {
  const double beta = BesselJ1Zero(n);
  double m0[kNodes + 2];  // ∫₀^r ρ·J1(βρ) dρ at every node radius
  double m1[kNodes + 2];  // ∫₀^r ρ²·J1(βρ) dρ
  double r[kNodes + 2];
  for (int j = 0; j <= kNodes + 1; ++j) {
    r[j] = NodeRadius(j);
    m0[j] = IntegralTJ1(beta * r[j]) / (beta * beta);
    m1[j] = IntegralT2J1(beta * r[j]) / (beta * beta * beta);
  }
  const double j2 = std::cyl_bessel_j(2.0, beta);
  const double norm = 2.0 / (j2 * j2);
  for (int i = 1; i <= kNodes; ++i) {
    const double rising =
        ((m1[i] - m1[i - 1]) - r[i - 1] * (m0[i] - m0[i - 1])) / (r[i] - r[i - 1]);
    const double falling =
        (r[i + 1] * (m0[i + 1] - m0[i]) - (m1[i + 1] - m1[i])) / (r[i + 1] - r[i]);
    row[i - 1] += norm * (rising + falling);
  }
}

// Row of term k (1 … 62): the band's modes summed, then tapered towards the rim.
inline void ComputeTermRow(int term, float row[kNodes]) {
  double sum[kNodes] = {};
  for (int n = FirstMode(term); n <= LastMode(term); ++n) AddModeWeights(n, sum);
  for (int i = 1; i <= kNodes; ++i) {
    const double taper = std::min(1.0, kTaperSlope * (1.0 - NodeRadius(i)));
    row[i - 1] = static_cast<float>(sum[i - 1] * taper);
  }
}

}  // namespace kavi::weight_table
