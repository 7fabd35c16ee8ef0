// Moving the Weibull distribution of one sector between heights and surface
// conditions (station → standard conditions for the atlas, standard
// conditions → site for the prediction), and the Weibull shape that matches
// two moments. Settings come from the parameter vector of the context.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/solve_weibull_shape.h"
#include "numerics/transfer_factors.h"
#include "numerics/upstream_land_fraction.h"

namespace kavi::numerics {

struct Context;

// Replaces A and k by the distribution after the transfer: kTransferToWater
// from the upstream conditions at zFrom to open water at zTo, kTransferToLand
// from the upstream conditions at zFrom to land of roughness z0a at zTo
// (zFrom <= 0: no source height), kTransferToUpstream from water (z0a <=
// kWaterClassRoughness) or land of roughness z0a at zFrom to the upstream
// conditions at zTo. Mean speed and standard deviation are scaled by the
// factors and k is solved from them; the upstream conditions are the rose's
// land fraction and its extra ring c_s + 1 as upstream roughness. Degenerate
// inputs (see ComputeTransferFactors) leave A and k unchanged.
void TransferWeibull(const Context& ctx, float& A, float& k, const RoughnessRose& rose,
                     const Transfer& transfer);

}  // namespace kavi::numerics
