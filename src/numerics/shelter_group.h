// The obstacles of one fine direction, ordered by distance, and their combined
// speed reduction at the point of interest.
#pragma once

#include "numerics/shelter_records.h"

namespace kavi::numerics {

struct Context;

struct ShelterGroup {
  int size = 0;                                 // records 0 … size - 1, nearest first
  float nearDistance[kMaxShelterRecords] = {};  // x, m
  float farDistance[kMaxShelterRecords] = {};   // f >= x, m
  float height[kMaxShelterRecords] = {};        // h > 0, m
  float openness[kMaxShelterRecords] = {};      // p <= 1
  // Working values of the reduction.
  float speedRatio[kMaxShelterRecords] = {};  // V: speed at obstacle height over speed at z
  float exposure[kMaxShelterRecords] = {};    // E: 1 unless sheltered by nearer obstacles
};

// Total relative speed reduction of the group at height z (m) over roughness
// z0 (m, >= 0.0002): nearer obstacles shelter farther ones (elements 45 and 46
// of the parameter vector scale the wake lengths), and each obstacle's deficit
// weakens the approach flow of the nearer ones. Obstacles no taller than z0
// take no part. The result is at least 0.
float GroupReduction(const Context& ctx, ShelterGroup& group, float z, float z0);

}  // namespace kavi::numerics
