// Test set-up shared by the transfer, atlas and prediction tests: the default
// parameter vector and simple terrain descriptions.
#pragma once

#include <algorithm>
#include <cmath>
#include <iterator>

#include "numerics/calculation_arrays.h"
#include "numerics/numerical_state.h"
#include "numerics/support/test_core.h"
#include "parameters/parameter_table.h"

namespace kavi::numerics::testing {

// Loads the configuration's initial parameter vector (the current edition's
// defaults) into the test context, with the given sector count.
inline void LoadDefaultParameters(int sectorCount = 12) {
  Context& s = TestCore();
  for (const parameters::ParameterRow& row : parameters::kParameterTable)
    s.parameters[row.element - 1] = row.value;
  // The current edition's defaults where they differ from the fixed vector.
  SetParameter(kNumStdRoughness, 5.0f);
  SetParameter(kStdRoughness5, 1.5f);
  SetParameter(kRoseSubRays, 9.0f);
  SetParameter(kMaxChangesPerSector, 10.0f);
  SetParameter(kSectorCountElement, static_cast<float>(sectorCount));
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
