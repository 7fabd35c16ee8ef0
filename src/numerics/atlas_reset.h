// The atlas with its default tables.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Fills the standard roughness lengths (parameters STDR1 …, at least 0.0002)
// and heights (STDH1 …) and sets, for every sector and class, the frequency to
// 100 / N_S, A to a logarithmic profile that reaches 13.44455 m/s at 100 km and
// k to 1.9. Counts beyond the capacities are cut to them.
void ResetAtlas(const Context& ctx, int roughnessCount, int heightCount, int sectorCount,
                AtlasTables& atlas);

}  // namespace kavi::numerics
