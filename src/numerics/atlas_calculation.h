// The atlas calculation: the observed wind climate of a station, cleaned of
// the effects of the station's surroundings, generalised over the standard
// roughness classes and heights of the atlas.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Observed bins the calculation has room for; a climate with more is refused.
constexpr int kMaxAtlasObservedBins = 50;
// Generalised speed bins of 1 m/s (0–50 m/s); the context's atlasControl selects
// how many are used (1 … 50; any other value uses all 50).
constexpr int kGeneralisedBins = 50;

// Fills atlas.frequency, atlas.weibullA and atlas.weibullK for the
// atlas.roughnessCount classes atlas.roughness and the atlas.heightCount
// heights atlas.heights (as the atlas reset leaves them) from the observed
// climate measured at the station `site` (its height above ground, 0 or less:
// the observed speeds are taken as geostrophic winds; its site effect table and
// roughness rose). sectorCount is the atlas's sector count (kSectorCountElement).
//
// Sets status 4 and leaves the atlas untouched when the climate cannot be
// used: more than kMaxAtlasObservedBins bins, a negative bin count, a sector
// count outside 1 … 36 (climate or atlas), or class or height counts outside
// 1 … 5. Otherwise sets no status.
void CalculateAtlas(Context& ctx, const ObservedClimate& climate, const SiteConditions& site,
                    int sectorCount, AtlasTables& atlas);

}  // namespace kavi::numerics
