#include "numerics/sector_changes.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/decay_length.h"
#include "numerics/rose_parameters.h"
#include "numerics/step_profile_fit.h"

namespace kavi::numerics {

using rose::RoundedParameter;

namespace {
constexpr float kDistanceOffset = 0.1f;      // m, keeps a change at the site off zero
constexpr float kLargestDecayRatio = 10.0f;  // distances beyond 10 D all map to the far end

float LogRoughness(float z) { return std::log(std::max(z, kRoughnessFloor)); }
}  // namespace

void ReduceSectorChanges(const Context& ctx, int sector, SectorProfile& profile,
                         RoughnessRose& rose) {
  const int maxChanges = RoundedParameter(ctx, kMaxChangesPerSector, 0, kMaxRoughnessChanges);
  const float decay = DecayLength(ctx, kRoseLargestDecayLength);
  const int n = std::clamp(profile.count, 0, kMaxSectorCrossings);

  // Knots: the distance of each crossing mapped onto [0, D), where the
  // roughness before it holds; the far end D carries the final roughness.
  float* xi = profile.distance;
  float* v = profile.roughness;
  for (int i = 0; i < n; ++i) {
    const float ratio = std::min((xi[i] + kDistanceOffset) / decay, kLargestDecayRatio);
    xi[i] = decay * (1.0f - std::exp(-ratio));
    v[i] = LogRoughness(v[i]);
  }
  xi[n] = decay;
  v[n] = LogRoughness(profile.finalRoughness);

  const StepProfile fit =
      FitStepProfile(xi, v, n + 1, maxChanges, ctx.Parameter(kRoughnessChangeThreshold));
  rose.changes[sector] = fit.changes;
  for (int r = 0; r <= fit.changes; ++r) {
    const float z = std::exp(fit.value[r]);
    rose.z0[r][sector] = z < kWaterRingRoughness ? 0.0f : z;
  }
  for (int r = 0; r < fit.changes; ++r)
    rose.distance[r][sector] = -decay * std::log(1.0f - fit.position[r] / decay);
}

}  // namespace kavi::numerics
