// The orographic spectrum of the zooming grid: per spectral term the
// coefficients (a0, a1, a2) of the second angular moments of the terrain,
// transformed radially with the constant weight table.
#pragma once

namespace kavi::numerics {

struct Context;

// Computes the coefficients of the grid in the context's grid and gives them to
// sectors 1 … sectorCount (limited to 1 … 36), which all receive the same 62
// triples. With no grid (length scale 0) all coefficients are 0. Sets no
// status.
void GridSpectrum(Context& ctx, int sectorCount);

}  // namespace kavi::numerics
