// The crossings of the zooming grid's rays with the segments of the height
// contours: the fan of rays, the per-ray bookkeeping, and the crossing store
// that keeps kMaxCrossings crossings in memory and sends all of them to the
// private work file once there are more.
#pragma once

#include "numerics/grid_state.h"
#include "numerics/spilling_store.h"
#include "numerics/zooming_grid.h"

namespace kavi::numerics {

struct Context;

// Ray k points k * spacing degrees counter-clockwise from east (+x).
struct RayFan {
  int spacing = 1;  // degrees
  int count = 0;
  float ux[kMaxGridRays] = {};
  float uy[kMaxGridRays] = {};
};

// The fan for the ray spacing parameter (BZAZRES), rounded to whole degrees and
// kept within 1 … 180 so that there are 2 … 360 rays.
RayFan MakeRayFan(float spacingParameter);

// Per ray: its number of crossings, the smallest t found (5 while it has none)
// and the elevation entry of the contour that gave it.
struct RayBook {
  static constexpr float kNoCrossing = 5.0f;
  int count[kMaxGridRays];
  float nearestT[kMaxGridRays];
  int nearestEntry[kMaxGridRays];
  void Clear();
};

// The crossings held in memory, a workspace of the context.
struct GridCrossingList {
  GridCrossing records[kMaxCrossings];
};

// The crossing list: in memory while the total stays within kMaxCrossings;
// beyond that every crossing, in the order found, is in the work file and the
// list is refilled ray group by ray group.
using GridCrossingStore = SpillingStore<GridCrossing>;

// Replaces the store's list by the work file's crossings of rays first … last
// (only after a spill). False on a read failure, more than kMaxCrossings of
// them, or a record that no search can have written (ray, elevation entry
// above entryLimit, or t outside 0 … limit).
bool LoadRays(GridCrossingStore& store, int first, int last, int rayCount, int entryLimit,
              float limit);

struct SearchArea {
  MapPoint site;
  float lengthScale;  // G
  float limit;        // largest t counted
};

// One search for crossings: where, along which rays, and where the crossings
// and the per-ray bookkeeping go.
struct RaySearch {
  const SearchArea& area;
  const RayFan& fan;
  RayBook& book;
  GridCrossingStore& store;
};

// Finds every crossing with 0 <= t <= limit of every ray with every segment of
// every height contour of the map. False, with status 6 set, when a ray has
// more than kMaxCrossings crossings or the work file fails.
bool FindCrossings(Context& ctx, const MapStorage& map, const RaySearch& search);

}  // namespace kavi::numerics
