// The roughness rose of a site derived from the roughness-change lines of the
// map: per direction sector the roughness at the site and up to ten changes of
// roughness upwind with their distances.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Derives the rose of the site for sectorCount sectors (1 … 36, sector 0
// centred on north, clockwise) from the lines of the map storage and writes it
// into the rose: changes, z0 of rings 0 … changes, distances 0 … changes - 1.
// Looks along kRoseSubRays sub-rays per sector, weighs distances with
// kRoughnessDecayLength and keeps at most kMaxChangesPerSector changes (none
// where the spread of ln z0 stays below kRoughnessChangeThreshold).
//
// Without lines, or without a roughness-change line, or with a sector count
// outside 1 … 36, the rose is left as it was. Failure only through the status
// word: 6 when the storage is inconsistent with its capacity (checked before
// anything is written) or a sector has more than 50,000 crossings; 8 when the
// private work file used beyond 50,000 crossings cannot be created, written or
// read back. The work file is removed before the routine returns.
void MapRoughnessRose(Context& ctx, const MapStorage& map, MapPoint site, int sectorCount,
                      RoughnessRose& rose);

}  // namespace kavi::numerics
