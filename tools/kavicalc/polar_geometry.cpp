#include "polar_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "svg_writer.h"

namespace kavi::tool {

namespace {
constexpr double kDegree = std::numbers::pi / 180.0;
// Arcs are drawn in pieces of at most half a turn, so that a full ring is
// drawn as well as a narrow one.
constexpr double kLargestArcPiece = 180.0;

std::string Coordinates(PagePoint p) { return SvgNumber(p.x) + " " + SvgNumber(p.y); }

// Arc commands from fromBearing to toBearing at radius, clockwise when
// clockwise is true, in pieces of at most half a turn.
std::string Arc(PagePoint centre, double fromBearing, double toBearing, double radius,
                bool clockwise) {
  const double sweep = toBearing - fromBearing;
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kLargestArcPiece)));
  std::string path;
  for (int i = 1; i <= pieces; ++i) {
    const PagePoint end = PointAt(centre, fromBearing + sweep * i / pieces, radius);
    // With y pointing down, a compass-clockwise turn is the sweep direction 1.
    path += " A " + SvgNumber(radius) + " " + SvgNumber(radius) + " 0 0 " +
            (clockwise ? "1 " : "0 ") + Coordinates(end);
  }
  return path;
}
}  // namespace

PagePoint PointAt(PagePoint centre, double bearing, double radius) {
  return {centre.x + radius * std::sin(bearing * kDegree),
          centre.y - radius * std::cos(bearing * kDegree)};
}

std::string RingSegmentPath(PagePoint centre, double fromBearing, double toBearing, double inner,
                            double outer) {
  std::string path = "M " + Coordinates(PointAt(centre, fromBearing, outer));
  path += Arc(centre, fromBearing, toBearing, outer, true);
  if (inner > 0) {
    path += " L " + Coordinates(PointAt(centre, toBearing, inner));
    path += Arc(centre, toBearing, fromBearing, inner, false);
  } else {
    path += " L " + Coordinates(centre);
  }
  return path + " Z";
}

}  // namespace kavi::tool
