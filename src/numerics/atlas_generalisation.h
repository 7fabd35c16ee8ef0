// The generalised climate of one roughness class of the atlas: frequencies
// and Weibull distributions at every standard height.
#pragma once

#include "numerics/atlas_workspace.h"

namespace kavi::numerics {

struct Context;

// Frequencies and Weibull distributions at every standard height for
// roughness class r (0-based) of the atlas.
void GeneraliseRoughnessClass(const Context& ctx, int r, const AtlasInputs& in,
                              AtlasWorkspace& work, AtlasTables& atlas);

}  // namespace kavi::numerics
