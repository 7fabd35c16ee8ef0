#include "numerics/shelter_group.h"

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/wake_deficit.h"

namespace kavi::numerics {

namespace {

constexpr float kMaxRecordReduction = 0.8f;

// Exposure of obstacle j (`far`) behind the nearer obstacle i (`near`): 1 when
// j stands beyond i's wake, less when it is in it. Never negative.
float Exposure(const GroupMember& near, const GroupMember& far, float c45, float c46) {
  const float xi = near.nearDistance, fi = near.farDistance, hi = near.height, pi = near.openness;
  const float xj = far.nearDistance, hj = far.height;
  const float gap = xj - fi;
  const float Q = hi / c45 + hj / c46;  // length over which i's wake reaches j
  if (gap >= Q) return 1.0f;
  if (hi >= hj) {
    return std::max(0.0f, (xj - (fi + (hi - hj) / c45)) / Q * (1.0f - pi) + pi);
  }
  // j is the taller one: the part of j hidden behind i.
  const float depth = fi - xi;
  const float X =
      (hj - hi) / c46 <= depth ? hi * (hj - 0.5f * hi) / c46 : hi * (depth + 0.5f * hi / c46);
  const float Z = gap / Q;
  const float S = Z + (1.0f - Z) * (1.0f - 2.0f * c46 * X / (hj * hj) * (1.0f - pi));
  return std::max(0.0f, S);
}

}  // namespace

float GroupReduction(const Context& ctx, ShelterGroup& g, float z, float z0) {
  const float c45 = ctx.Parameter(kWakeShadowFactor);
  const float c46 = ctx.Parameter(kWakeRiseFactor);
  const int m = std::clamp(g.size, 0, kMaxShelterRecords);
  const float Lz = std::log((z + 3.0f * z0) / z0);

  GroupMember* const members = g.members;
  for (int i = 0; i < m; ++i) {
    GroupMember& o = members[i];
    o.exposure = 1.0f;
    o.speedRatio = o.height > z0 ? std::log(o.height / z0) / Lz : 0.0f;
  }
  // Sheltering of each obstacle by the nearer ones.
  for (int j = 1; j < m; ++j) {
    for (int i = j - 1; i >= 0; --i) {
      members[j].exposure =
          std::min(members[j].exposure, Exposure(members[i], members[j], c45, c46));
    }
  }
  // From the farthest obstacle inward: each adds its own deficit and slows the
  // flow that reaches the nearer ones.
  float total = 0.0f;
  for (int j = m - 1; j >= 0; --j) {
    const GroupMember& o = members[j];
    if (!(o.height > z0)) continue;
    const float R = WakeDeficit(o.nearDistance, o.height, z, z0);
    const float delta =
        std::min(R * o.speedRatio * o.exposure, kMaxRecordReduction) * (1.0f - o.openness);
    total += delta;
    for (int i = 0; i < j; ++i) {
      members[i].speedRatio = std::max(0.0f, members[i].speedRatio * (1.0f - delta));
    }
  }
  return total;
}

}  // namespace kavi::numerics
