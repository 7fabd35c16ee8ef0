#include "numerics/upstream_land_fraction.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

// Value of 1 − (1 + x)e^(−x) that makes the weight of a change vanish.
constexpr float kChangeWeightScale = 0.2645f;
// Extra fetch (m) that makes a rose without changes count wholly as its one
// surface.
constexpr float kUniformFetchExtra = 1000.0f;

float SurfaceSign(float roughness) { return roughness < kWaterStretchRoughness ? -1.0f : 1.0f; }

}  // namespace

float RoughnessChangeWeight(float distance, float width) {
  const float x = distance / width;
  const float weight = 1.0f - (1.0f - (1.0f + x) * std::exp(-x)) / kChangeWeightScale;
  return weight > 0.0f ? weight : 0.0f;  // also 0 for a distance that is not a number
}

float UpstreamLandFraction(const Context& ctx, const RoughnessRose& rose, int sector) {
  const int i = sector - 1;
  const int n = std::clamp(rose.changes[i], 0, kMaxRoughnessChanges);
  const float W = ctx.Parameter(kCoastalZoneWidth);
  // E runs from −1 (all water) to +1 (all land): each stretch counts with the
  // weight of its inner change minus that of its outer change.
  float E = 0.0f;
  if (n == 0) {
    E = SurfaceSign(rose.z0[0][i]) * (W + kUniformFetchExtra) / W;
  } else {
    float inner = 1.0f;
    for (int change = 1; change <= n; ++change) {
      const float outer = RoughnessChangeWeight(rose.distance[change - 1][i], W);
      E += SurfaceSign(rose.z0[change - 1][i]) * (inner - outer);
      inner = outer;
    }
    E += SurfaceSign(rose.z0[n][i]) * inner;
  }
  if (!(E >= -1.0f)) E = -1.0f;  // also for W = 0
  if (E > 1.0f) E = 1.0f;
  return (E + 1.0f) / 2.0f;
}

}  // namespace kavi::numerics
