// Moving the Weibull distribution of one sector between heights and surface
// conditions (station → standard conditions for the atlas, standard
// conditions → site for the prediction), and the Weibull shape that matches
// two moments. Settings come from the parameter vector of the context.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/constants.h"

namespace kavi::numerics {

struct Context;

// The shapes the moment solver searches between; outside them no sign change
// is sought and the best shape found is returned.
constexpr float kMinSolvedShape = 0.125f;
constexpr float kMaxSolvedShape = 64.0f;

enum TransferDirection : int {
  kTransferToWater = 0,     // upstream conditions → open water
  kTransferToLand = 1,      // upstream conditions → land of the class roughness
  kTransferToUpstream = 2,  // class roughness (water or land) → upstream conditions
};

// The factors a transfer applies to the mean speed and to its standard
// deviation.
struct TransferFactors {
  float mean = 1.0f;
  float spread = 1.0f;
};

// The roughness length r raised to kRoughnessFloor (also when r is not a
// number).
inline float RaisedRoughness(float r) { return r >= kRoughnessFloor ? r : kRoughnessFloor; }

// The shape k with c = ln Γ(1 + n/k)/n − ln Γ(1 + m/k)/m, by bracketing
// outward from 2 within [kMinSolvedShape, kMaxSolvedShape] and bisecting to
// 0.003. Without a sign change in that range (c = 0, for instance) returns
// the shape tried with the smallest residual; a c that is not a number gives 2.
float SolveWeibullShape(float c, int m, int n);

// Weight with which the surface beyond a roughness change at this distance
// (m) still counts, for a fetch width W (m): 1 at distance 0, about 0 at W.
float RoughnessChangeWeight(float distance, float width);

// Fraction of land (0 … 1) upstream of sector s (1-based) of the rose.
float UpstreamLandFraction(const Context& ctx, const RoughnessRose& rose, int sector);

// The mean and spread factors of a transfer of (A, k) from zFrom to zTo in
// the given direction (see TransferWeibull). Returns false, leaving factors
// untouched, when the inputs make the model degenerate (a height at or below
// a roughness length, a layer as low as its roughness, values that are not
// numbers, an unknown direction or sector).
bool ComputeTransferFactors(const Context& ctx, float A, float k, const RoughnessRose& rose,
                            float z0a, float zFrom, float zTo, int sector, int direction,
                            TransferFactors& factors);

// Replaces A and k of sector s (1-based) by the distribution after the
// transfer: direction 0 from the upstream conditions at zFrom to open water
// at zTo, direction 1 from the upstream conditions at zFrom to land of
// roughness z0a at zTo (zFrom <= 0: no source height), direction 2 from water
// (z0a <= 0.00022) or land of roughness z0a at zFrom to the upstream
// conditions at zTo. Mean speed and standard deviation are scaled by the
// factors and k is solved from them; the upstream conditions are the rose's
// land fraction and its extra ring c_s + 1 as upstream roughness. Degenerate
// inputs (see ComputeTransferFactors) leave A and k unchanged.
void TransferWeibull(const Context& ctx, float& A, float& k, const RoughnessRose& rose, float z0a,
                     float zFrom, float zTo, int sector, int direction);

}  // namespace kavi::numerics
