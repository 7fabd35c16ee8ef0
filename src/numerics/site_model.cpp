// The site model routine: roughness changes of the rose (slot 4 and the
// effective upstream roughness), then orography with the true-upwind step
// (slot 2).
#include "numerics/site_model.h"

#include <algorithm>
#include <cmath>

#include "numerics/decay_length.h"
#include "numerics/parameter_elements.h"
#include "numerics/site_model_inputs.h"

namespace kavi::numerics {

namespace {

using site_model::DecayWeight;
using site_model::GridLengthScale;
using site_model::UsableFetch;
using site_model::UsableHeight;
using site_model::UsableRoughness;

constexpr int kOrographySlot = 2;
constexpr int kObstacleSlot = 3;
constexpr int kRoughnessSlot = 4;

// The number of changes of a sector that the rose can hold.
int UsableChangeCount(int changes) { return std::clamp(changes, 0, kMaxRoughnessChanges); }

// Product of the speed ratios across the roughness changes of one sector, met
// from the site outward; each change sees as upstream roughness the effective
// roughness of everything beyond it, an exponentially weighted mean of ln z0
// over distance. Writes that effective roughness of the whole sector into the
// ring after its last change.
float RoughnessChangeFactor(const Context& ctx, float z, RoughnessRose& rose, int sector) {
  const int changes = UsableChangeCount(rose.changes[sector]);
  const float decayLength = DecayLength(ctx, kUnlimitedDecayLength);
  const float siteRoughness = UsableRoughness(rose.z0[0][sector]);

  float previousLog = std::log(siteRoughness);
  float accumulated = 0.0f;
  float effective = siteRoughness;
  float fetch = 0.0f;
  float factor = 1.0f;
  for (int i = 1; i <= changes; ++i) {
    const float downstream = effective;
    const float ringLog = std::log(UsableRoughness(rose.z0[i][sector]));
    // A change never lies nearer than the one inside it.
    fetch = std::max(fetch, UsableFetch(rose.distance[i - 1][sector]));
    accumulated += (previousLog - ringLog) * DecayWeight(fetch / decayLength);
    // A weighted mean of usable roughness logarithms; the limits only take up rounding.
    effective = UsableRoughness(std::exp(ringLog + accumulated));
    const float h = BoundaryLayerHeight(ctx, fetch, downstream, effective);
    factor *= RoughnessChangeRatio(ctx, z, downstream, effective, h);
    previousLog = ringLog;
  }
  rose.z0[changes + 1][sector] = effective;
  return factor;
}

void ResetSlot(SiteEffectTable& table, int slot, int nsec) {
  for (int j = 0; j < nsec; ++j) {
    table.speedFactor[EffectIndex(slot, j, nsec)] = 1.0f;
    table.turning[EffectIndex(slot, j, nsec)] = 0.0f;
  }
}

}  // namespace

void SiteEffects(const Context& ctx, float heightAboveGround, RoughnessRose& rose,
                 SiteEffectTable& table) {
  const int nsec = ctx.sectorCount;
  if (nsec < 1 || nsec > kMaxSectors) return;
  const float z = UsableHeight(heightAboveGround);

  ResetSlot(table, kOrographySlot, nsec);
  ResetSlot(table, kObstacleSlot, nsec);
  ResetSlot(table, kRoughnessSlot, nsec);
  for (int j = 0; j < nsec; ++j) {
    table.speedFactor[EffectIndex(kRoughnessSlot, j, nsec)] =
        RoughnessChangeFactor(ctx, z, rose, j);
  }

  if (GridLengthScale(ctx) == 0.0f) return;  // flat terrain: slot 2 stays 1 and 0
  WindVector vectors[kMaxSectors];
  for (int j = 0; j < nsec; ++j) vectors[j] = OrographicVector(ctx, rose, z, j, nsec);
  TrueUpwind(vectors, nsec, std::round(ctx.Parameter(kTrueUpwind)) > 0.0f, table);
}

}  // namespace kavi::numerics
