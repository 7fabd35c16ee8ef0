// The prediction of the wind climate at a site from an atlas: the atlas
// interpolated to the site's upstream roughness and height per sector,
// moved to the site's conditions, multiplied by the site effects and turned
// with the flow, then fitted per sector and for all sectors together.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Predicts, for the sectorCount sectors of the atlas, Weibull A (m/s), k and
// frequency (percent, summing to 100) per sector and A and k for all sectors
// together at the site's height above ground, from its site effect table and
// roughness rose.
// Every fit keeps the mean speed and the mean cubed speed of the mixture it
// stands for. A sector without frequency reports A = 0, k = 2, frequency 0;
// with no frequency anywhere the all-sector A is 0 and k is 2. Entries from
// sectorCount on are not written. Sets no status: a sector count outside
// 1 … 36 writes only the all-sector pair (0, 2), and class or height counts
// outside 1 … 5 give a climate without frequency. A site height that is not
// a positive number is taken as the lowest height the model knows (the
// smallest roughness length).
void PredictSiteClimate(const Context& ctx, const AtlasTables& atlas, int sectorCount,
                        const SiteConditions& site, PredictedClimate& predicted);

}  // namespace kavi::numerics
