// The station winds of the atlas calculation: the observed climate turned
// and carried up to the geostrophic wind, per atlas sector and observed bin.
#pragma once

#include "numerics/atlas_workspace.h"

namespace kavi::numerics {

// Boundary turnings, joint frequencies of the turned sector windows,
// geostrophic winds and cross-isobar angles per atlas sector and observed
// bin, the grand total Θ, and one cross-isobar angle per bin.
void ComputeStationWinds(const AtlasInputs& in, AtlasWorkspace& work);

}  // namespace kavi::numerics
