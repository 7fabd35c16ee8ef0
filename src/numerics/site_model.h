// The site model: how the terrain around a site changes the wind arriving from
// each sector. Roughness changes of the roughness rose give speed ratios across
// internal boundary layers (slot 4 of the site effect table); the orographic
// spectrum of the zooming grid perturbs the wind vector of each sector, and the
// true-upwind step turns the perturbed vectors into a speed factor and a turning
// angle per sector (slot 2).
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// A horizontal wind vector, east and north components.
struct WindVector {
  float east = 0.0f;
  float north = 0.0f;
};

// Fills slots 2 (orography) and 4 (roughness changes) of the site effect table
// for the core sector count, resets slot 3 to factor 1 and turning 0, leaves
// slot 1 alone, and writes each sector's effective upstream roughness into ring
// c + 1 of the rose. Reads the zooming grid and its spectrum from the context's grid and the
// parameters 6, 7, 24, 26 … 31, 34, 39 … 41. Sets no status; every entry written
// is finite whatever the rose, the grid or the height hold. A core sector count
// outside 1 … 36 leaves everything untouched.
void SiteEffects(const Context& ctx, float heightAboveGround, RoughnessRose& rose,
                 SiteEffectTable& table);

// The profile function F(r): ln r above r = 2, below it a cubic that meets the
// logarithm with the same value and slope at r = 2 and vanishes at r = 0.
// Defined for r >= 0.
float LogProfileShape(float r);

// Height (m) of the internal boundary layer at fetch x (m) downstream of a
// roughness change between roughness lengths z0u and z0d (m).
float BoundaryLayerHeight(const Context& ctx, float fetch, float upstreamRoughness,
                          float downstreamRoughness);

// Speed at height z (m) downstream of a roughness change over the speed that
// the upstream profile would have there, for downstream roughness zd, upstream
// roughness zu and internal boundary layer height h (all m).
float RoughnessChangeRatio(const Context& ctx, float height, float downstreamRoughness,
                           float upstreamRoughness, float boundaryLayerHeight);

// The wind vector of sector `sector` (0 … nsec - 1) at `height` above ground,
// perturbed by the orographic spectrum of the zooming grid; the undisturbed
// vector is the unit vector the sector's wind blows towards. Without a grid
// (length scale 0) the undisturbed vector itself.
WindVector OrographicVector(const Context& ctx, const RoughnessRose& rose, float height, int sector,
                            int nsec);

// Turns the perturbed vectors of all nsec sectors into slot 2 of the table.
// Without the true-upwind search each sector takes the length of its own vector
// and its angle from the sector direction (degrees, clockwise positive); with it
// a sector takes the speed and turning interpolated from the neighbouring pair
// of vectors that brackets its direction with the least turning, falling back
// to its own vector when no pair brackets it.
void TrueUpwind(const WindVector* vectors, int nsec, bool search, SiteEffectTable& table);

}  // namespace kavi::numerics
