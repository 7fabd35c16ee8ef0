// Roughness-change lines from land-cover areas: the boundaries between areas
// of different roughness length, each written once with the roughness on its
// left and right (seen walking from its first point to its last), cut to the
// map's area and joined into lines where nothing else meets them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gis/landcover_areas.h"
#include "gis/map_content.h"

namespace kavi::gis {

struct BoundaryRequest {
  Bounds area;                      // the map's area, local frame
  std::optional<double> defaultZ0;  // roughness where no area lies
  double tolerance = 0.0;           // thinning of the lines, metres
  std::string source;               // the land cover's file, for messages
};

// One piece of boundary with the roughness on its left and right.
struct BoundaryEdge {
  LocalPoint a, b;
  double left = 0, right = 0;
};

// The pieces cut to the map's area (pieces along the area's own edge are
// dropped: their other side is off the map), joined into lines and thinned.
std::vector<RoughnessLine> JoinedBoundaries(std::vector<BoundaryEdge> edges,
                                            const BoundaryRequest& request);

// GisError naming a position in the map's CRS where the map's area lies in
// no land-cover area while no default z0 is given.
[[noreturn]] void UncoveredArea(const LocalPoint& at, const BoundaryRequest& request,
                                double originX, double originY);

// The boundaries of land-cover polygons. A boundary that two areas share is
// found from the segments both rings have; where their vertices differ the
// roughness across is taken from whichever area lies just beside it.
std::vector<RoughnessLine> RoughnessBoundaries(const std::vector<LandCoverArea>& areas,
                                               const BoundaryRequest& request, double originX,
                                               double originY);

}  // namespace kavi::gis
