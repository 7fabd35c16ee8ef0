#include "numerics/zooming_grid.h"

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/grid_crossings.h"
#include "numerics/grid_rows.h"
#include "numerics/grid_state.h"
#include "numerics/map_contours.h"
#include "numerics/parameter_elements.h"
#include "numerics/zooming_nodes.h"

namespace kavi::numerics {

namespace {

constexpr float kMinSearchRadius = 0.01f;
// Crossings on the farthest contour lie at t = L up to rounding; this relative
// margin keeps them in (0.2 m at 20 km).
constexpr float kLimitMargin = 1e-5f;
constexpr double kMinNearnessWeight = 1e-12;
constexpr float kMinNearestT = 1e-12f;

// The largest distance from the site to a point of a height contour, or false
// when the map has no height contour at all.
bool LargestContourDistance(const MapStorage& map, MapPoint site, float& distance) {
  MapContours contours(map);
  MapContour line;
  bool found = false;
  float largest = 0.0f;
  while (contours.Next(line)) {
    found = true;
    for (int i = 0; i < line.pointCount; ++i) {
      const float dx = line.x[i] - site.x;
      const float dy = line.y[i] - site.y;
      const float squared = dx * dx + dy * dy;
      if (squared > largest) largest = squared;  // not-a-number compares false
    }
  }
  distance = std::sqrt(largest);
  return found;
}

// The site elevation: the elevations of the nearest contour of every ray that
// has a crossing, weighted by the inverse of their distance. False when no ray
// has a crossing.
bool NearestContourElevation(const RayBook& book, int rayCount, const float* mapX,
                             float& elevation) {
  double weighted = 0.0;
  double weights = 0.0;
  for (int k = 0; k < rayCount; ++k) {
    if (!(book.nearestT[k] < 2.0f)) continue;
    const double w = 1.0 / std::max(book.nearestT[k], kMinNearestT);
    weighted += w * mapX[book.nearestEntry[k] - 1];
    weights += w;
  }
  if (weights < kMinNearnessWeight) return false;
  elevation = static_cast<float>(weighted / weights);
  return true;
}

// Fills the rows of rays first … last from the sorted crossing list.
void FillRays(int first, int last, const GridCrossingStore& store, const RowHeights& heights,
              const ZoomingNodes& nodes, GridState& grid) {
  const GridCrossing* crossings = store.records();
  const auto ray = [&](int i) { return crossings[i].code % heights.rayCount; };
  int p = 0;
  for (int k = first; k <= last; ++k) {
    while (p < store.count() && ray(p) < k) ++p;
    int n = 0;
    while (p + n < store.count() && ray(p + n) == k) ++n;
    if (n == 0) {
      std::fill(std::begin(grid.values[k]), std::end(grid.values[k]), 0.0f);
    } else {
      FillRayRow(crossings + p, n, heights, nodes, grid.values[k]);
    }
    p += n;
  }
}

}  // namespace

float BuildZoomingGrid(Context& ctx, const MapStorage& map, MapPoint site) {
  GridState& grid = ctx.grid;
  grid.searchRadius = 0.0f;
  grid.lengthScale = 0.0f;
  grid.rayCount = 0;
  grid.siteElevation = 0.0f;
  grid.crossingCount = 0;
  grid.passCount = 0;

  float distance = 0.0f;
  if (!LargestContourDistance(map, site, distance)) {
    return 0.0f;  // no terrain: flat
  }
  const float spread = ctx.Parameter(kGridSpread);
  const float radius =
      std::max(std::min(distance, ctx.Parameter(kMaxSearchRadius)), kMinSearchRadius);
  const float lengthScale = (1.0f + spread) * radius;
  const float limit = 1.0f - spread / (1.0f + spread);

  const RayFan fan = MakeRayFan(ctx.Parameter(kRaySpacing));
  RayBook book;
  book.Clear();
  GridCrossingStore store(ctx.gridCrossings.records, kMaxCrossings);
  const SearchArea area{site, lengthScale, limit * (1.0f + kLimitMargin)};
  if (!FindCrossings(ctx, map, {area, fan, book, store})) return 0.0f;
  if (store.spilled() && !store.FinishWriting()) {
    ctx.SetStatus(kStatusMapTooLarge);
    return 0.0f;
  }

  float elevation = 0.0f;
  if (!NearestContourElevation(book, fan.count, map.x, elevation)) {
    ctx.SetStatus(kStatusRadiusTooSmall);
    return 0.0f;
  }

  // Passes over groups of rays: one pass over all rays while the crossings are
  // in memory; after a spill, groups whose crossings fit in the list.
  const ZoomingNodes nodes = ComputeZoomingNodes(ctx);
  const RowHeights heights{map.x, fan.count, elevation, ctx.Parameter(kInversionHeight),
                           ctx.Parameter(kInversionSoftening)};
  int passes = 0;
  for (int first = 0; first < fan.count; ++passes) {
    int last = fan.count - 1;
    if (store.spilled()) {
      last = first;
      for (int held = book.count[first];
           last + 1 < fan.count && held + book.count[last + 1] <= kMaxCrossings;) {
        held += book.count[++last];
      }
      if (!LoadRays(store, first, last, fan.count, map.capacity, area.limit)) {
        ctx.SetStatus(kStatusMapTooLarge);
        return 0.0f;
      }
    }
    SortCrossings(store.records(), store.count(), fan.count);
    FillRays(first, last, store, heights, nodes, grid);
    first = last + 1;
  }

  grid.searchRadius = radius;
  grid.lengthScale = lengthScale;
  grid.rayCount = fan.count;
  grid.raySpacing = fan.spacing;
  grid.siteElevation = elevation;
  grid.crossingCount = store.total();
  grid.passCount = passes;
  return elevation;
}

}  // namespace kavi::numerics
