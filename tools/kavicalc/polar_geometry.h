// Drawing around a centre by compass bearing: degrees clockwise from north,
// on a page whose y axis points down.
#pragma once

#include <string>

namespace kavi::tool {

struct PagePoint {
  double x;
  double y;
};

// The point at radius (pixels) from centre in the direction of bearing.
PagePoint PointAt(PagePoint centre, double bearing, double radius);

// SVG path data of the ring segment between two bearings (clockwise from
// from to to, at most a full turn) and two radii; an inner radius of 0 gives
// a wedge from the centre.
std::string RingSegmentPath(PagePoint centre, double fromBearing, double toBearing, double inner,
                            double outer);

}  // namespace kavi::tool
