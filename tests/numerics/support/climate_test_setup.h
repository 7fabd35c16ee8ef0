// Test set-up shared by the transfer, atlas and prediction tests: the default
// parameter vector and simple terrain descriptions.
#pragma once

#include <algorithm>
#include <cmath>
#include <iterator>

#include "numerics/calculation_arrays.h"
#include "numerics/numerical_state.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics::testing {

// Loads the configuration's initial parameter vector (the current edition's
// defaults) into the test context, with the given sector count.
inline void LoadDefaultParameters(int sectorCount = 12) {
  static constexpr float kDefaults[kParameterCount] = {
      12,    10000, 100,       0.12f,  0.11f, 1000,  1,    0.4f, 0.485f, 1.8f,   // 1-10
      4.5f,  5,     10,        25,     50,    100,   200,  5,    0,      0.03f,  // 11-20
      0.1f,  0.4f,  1.5f,      0,      0,     0.27f, 0.3f, 1000, 5,      0.67f,  // 21-30
      10000, 0,     1.06f,     0,      1,     12,    1,    1,    0.9f,   0.3f,   // 31-40
      0.09f, 5,     2,         10,     0.5f,  0.2f,  12,   240,  30,     30,     // 41-50
      50,    0,     0,         0.002f, 1.65f, 100,   30,   -40,  15,     0.5f,   // 51-60
      0.6f,  0.6f,  3,         16,     9,     50,    10,   0.3f, 0,      0,      // 61-70
      4000,  25.2f, 360.0833f, 1,      20000, 0.5f,  1                           // 71-77
  };
  Context& s = TestCore();
  std::copy(std::begin(kDefaults), std::end(kDefaults), s.parameters);
  s.parameters[0] = static_cast<float>(sectorCount);
  s.sectorCount = sectorCount;
  s.status = kStatusOk;
  s.atlasControl = 50;
}

// A rose without roughness changes: roughness z0 at the site and upstream
// (the extra ring the site model writes) in every sector.
inline RoughnessRose UniformRose(float z0) {
  RoughnessRose rose;
  for (int i = 0; i < kMaxSectors; ++i) {
    rose.z0[0][i] = z0;
    rose.z0[1][i] = z0;
  }
  return rose;
}

// A site effect table with every factor 1 and every turning 0.
inline SiteEffectTable NeutralEffects() {
  SiteEffectTable effects;
  std::fill(std::begin(effects.speedFactor), std::end(effects.speedFactor), 1.0f);
  return effects;
}

// Atlas tables as the atlas reset leaves them with the default configuration:
// classes 0.0002, 0.03, 0.1, 0.4, 1.5 m and heights 10, 25, 50, 100, 200 m.
inline AtlasTables StandardAtlas() {
  AtlasTables atlas;
  atlas.roughnessCount = 5;
  atlas.heightCount = 5;
  const float roughness[] = {0.0002f, 0.03f, 0.1f, 0.4f, 1.5f};
  const float heights[] = {10.0f, 25.0f, 50.0f, 100.0f, 200.0f};
  std::copy(std::begin(roughness), std::end(roughness), atlas.roughness);
  std::copy(std::begin(heights), std::end(heights), atlas.heights);
  return atlas;
}

// An observed climate of nsec sectors whose sector i has the Weibull
// distribution (A[i], k[i]) binned into `bins` bins of `width` m/s (per mille
// of the sector, the tail beyond the last limit left out) and the sector
// frequency weight[i] (normalised to percent).
inline ObservedClimate WeibullClimate(int nsec, const float* A, const float* k, const float* weight,
                                      float width, int bins) {
  ObservedClimate climate;
  climate.sectorCount = nsec;
  climate.binCount = bins;
  double weights = 0.0;
  for (int i = 0; i < nsec; ++i) weights += weight[i];
  for (int i = 0; i < nsec; ++i) {
    climate.sectorFrequency[i] = static_cast<float>(100.0 * weight[i] / weights);
    double column = 0.0;
    for (int b = 0; b < bins; ++b) {
      const double lower = b * width;
      const double upper = (b + 1) * width;
      column += std::exp(-std::pow(lower / A[i], k[i])) - std::exp(-std::pow(upper / A[i], k[i]));
    }
    for (int b = 0; b < bins; ++b) {
      const double lower = b * width;
      const double upper = (b + 1) * width;
      const double p =
          std::exp(-std::pow(lower / A[i], k[i])) - std::exp(-std::pow(upper / A[i], k[i]));
      climate.table[b * nsec + i] = static_cast<float>(1000.0 * p / column);
      climate.upperLimits[b] = static_cast<float>(upper);
    }
  }
  return climate;
}

}  // namespace kavi::numerics::testing
