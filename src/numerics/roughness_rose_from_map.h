// The roughness rose of a site derived from the roughness-change lines of the
// map: per direction sector the roughness at the site and up to ten changes of
// roughness upwind with their distances.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Derives the rose of the site (siteX, siteY) for sectorCount sectors (1 … 36,
// sector 0 centred on north, clockwise) from the lineCount lines stored in
// mapX and mapY (mapCapacity entries each) and writes it into the rose:
// changes, z0 of rings 0 … changes, distances 0 … changes - 1. Looks along
// RNUMSECT (element 65) sub-rays per sector, keeps at most MAXRC (element 67)
// changes, weighs distances with RDECAYL (element 31) and element 68.
//
// Without lines, or without a roughness-change line, or with a sector count
// outside 1 … 36, the rose is left as it was. Failure only through the status
// word: 6 when the storage is inconsistent with its capacity (checked before
// anything is written) or a sector has more than 50,000 crossings; 8 when the
// private work file used beyond 50,000 crossings cannot be created, written or
// read back. The work file is removed before the routine returns.
void MapRoughnessRose(Context& ctx, const float* mapX, const float* mapY, int lineCount,
                      float siteX, float siteY, int sectorCount, RoughnessRose& rose,
                      int mapCapacity);

}  // namespace kavi::numerics
