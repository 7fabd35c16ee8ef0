// The obstacles of one fine direction, ordered by distance, and their combined
// speed reduction at the point of interest.
#pragma once

#include "numerics/shelter_records.h"

namespace kavi::numerics {

struct Context;

// One obstacle of the group.
struct GroupMember {
  float nearDistance;  // x, m
  float farDistance;   // f >= x, m
  float height;        // h > 0, m
  float openness;      // p <= 1
  // Working values of the reduction.
  float speedRatio;  // V: speed at obstacle height over speed at z
  float exposure;    // E: 1 unless sheltered by nearer obstacles
};

struct ShelterGroup {
  int size = 0;  // members 0 … size - 1, nearest first
  GroupMember members[kMaxShelterRecords] = {};
};

// Total relative speed reduction of the group at height z (m) over roughness
// z0 (m, >= 0.0002): nearer obstacles shelter farther ones (kWakeShadowFactor and
// kWakeRiseFactor scale the wake lengths), and each obstacle's deficit
// weakens the approach flow of the nearer ones. Obstacles no taller than z0
// take no part. The result is at least 0.
float GroupReduction(const Context& ctx, ShelterGroup& group, float z, float z0);

}  // namespace kavi::numerics
