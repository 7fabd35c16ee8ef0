// The true-upwind step: the perturbed wind vectors of all sectors turned into
// a speed factor and a turning angle per sector.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/orographic_vector.h"

namespace kavi::numerics {

// Turns the perturbed vectors of all nsec sectors into slot 2 of the table.
// Without the true-upwind search each sector takes the length of its own vector
// and its angle from the sector direction (degrees, clockwise positive); with it
// a sector takes the speed and turning interpolated from the neighbouring pair
// of vectors that brackets its direction with the least turning, falling back
// to its own vector when no pair brackets it.
void TrueUpwind(const WindVector* vectors, int nsec, bool search, SiteEffectTable& table);

}  // namespace kavi::numerics
