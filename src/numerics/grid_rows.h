// Filling one ray of the zooming grid from its sorted crossings.
#pragma once

#include "numerics/zooming_grid.h"
#include "numerics/zooming_nodes.h"

namespace kavi::numerics {

// Height difference to the site as the grid holds it: unchanged up to the
// inversion height H above or below the site, beyond it damped by the
// softening factor S.
float SoftenedDifference(float delta, float inversionHeight, float softening);

struct RowHeights {
  const float* mapX;  // elevations at entry e (from 1): mapX[e - 1]
  int rayCount;       // to read the entry from a crossing code
  float siteElevation;
  float inversionHeight;  // H, kInversionHeight
  float softening;        // S, kInversionSoftening
};

// Writes the values of the 100 nodes of one ray from its n >= 1 crossings,
// sorted by t: linear from 0 at the site through the crossings, constant
// beyond the last.
void FillRayRow(const GridCrossing* crossings, int n, const RowHeights& heights,
                const ZoomingNodes& nodes, float* row);

}  // namespace kavi::numerics
