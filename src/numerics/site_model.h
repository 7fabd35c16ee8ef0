// The site model: how the terrain around a site changes the wind arriving from
// each sector. Roughness changes of the roughness rose give speed ratios across
// internal boundary layers (slot 4 of the site effect table); the orographic
// spectrum of the zooming grid perturbs the wind vector of each sector, and the
// true-upwind step turns the perturbed vectors into a speed factor and a turning
// angle per sector (slot 2).
#pragma once

#include "numerics/boundary_layer.h"
#include "numerics/calculation_arrays.h"
#include "numerics/orographic_vector.h"
#include "numerics/true_upwind.h"

namespace kavi::numerics {

struct Context;

// Fills slots 2 (orography) and 4 (roughness changes) of the site effect table
// for the core sector count, resets slot 3 to factor 1 and turning 0, leaves
// slot 1 alone, and writes each sector's effective upstream roughness into ring
// c + 1 of the rose. Reads the zooming grid and its spectrum from the context's grid and the
// parameters 6, 7, 24, 26 … 31, 34, 39 … 41. Sets no status; every entry written
// is finite whatever the rose, the grid or the height hold. A core sector count
// outside 1 … 36 leaves everything untouched.
void SiteEffects(const Context& ctx, float heightAboveGround, RoughnessRose& rose,
                 SiteEffectTable& table);

}  // namespace kavi::numerics
