// The factors by which a transfer between heights and surface conditions
// scales the mean wind speed and its standard deviation.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/constants.h"

namespace kavi::numerics {

struct Context;

enum TransferDirection : int {
  kTransferToWater = 0,     // upstream conditions → open water
  kTransferToLand = 1,      // upstream conditions → land of the class roughness
  kTransferToUpstream = 2,  // class roughness (water or land) → upstream conditions
};

// One transfer of a sector's distribution: the roughness length z0a (m) of
// the class it comes from or goes to, the heights it goes from and to (m above
// ground), the sector (1-based) whose upstream conditions apply and the
// direction (a TransferDirection).
struct Transfer {
  float z0a;
  float zFrom;
  float zTo;
  int sector;
  int direction;
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

// The mean and spread factors of the transfer of (A, k) (see TransferWeibull).
// Returns false, leaving factors untouched, when the inputs make the model
// degenerate (a height at or below a roughness length, a layer as low as its
// roughness, values that are not numbers, an unknown direction or sector).
bool ComputeTransferFactors(const Context& ctx, float A, float k, const RoughnessRose& rose,
                            const Transfer& transfer, TransferFactors& factors);

}  // namespace kavi::numerics
