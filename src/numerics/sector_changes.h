// Reduction of the roughness profile met along one sector of the roughness rose
// to the few changes that the rose keeps.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

constexpr int kMaxSectorCrossings = 50000;  // crossings one sector may have

// The roughness along one sector, outward from the site: before the crossing
// at distance[i] (m, increasing) the sector roughness is roughness[i] (m);
// beyond the last crossing it is finalRoughness. One slot more than the
// crossings is kept, because the reduction appends the far end as a knot.
struct SectorProfile {
  int count = 0;
  float distance[kMaxSectorCrossings + 1];
  float roughness[kMaxSectorCrossings + 1];
  float finalRoughness = 0.0f;
};

// Reduces the profile of sector `sector` (0 … 35) to at most
// kMaxChangesPerSector changes and writes them into the rose: the number of
// changes, the roughness of every ring (0 below 0.0004, water) and the distance
// of every change. Distances are mapped through the decay length D
// (kRoughnessDecayLength) so that near changes weigh more than far ones;
// kRoughnessChangeThreshold is the spread below which no change is kept. The
// profile's arrays are overwritten (used as scratch).
void ReduceSectorChanges(const Context& ctx, int sector, SectorProfile& profile,
                         RoughnessRose& rose);

}  // namespace kavi::numerics
