#include "twin_stroke.h"

#include <cmath>

#include "map_drawing.h"

namespace kavi::tool {

namespace {
constexpr double kMostMitre = 2;        // times the offset
constexpr double kClosedWithin = 0.01;  // px between the ends of a closed line

// The unit normal to the left (in the map) of the segment from a to b: on a
// page whose y axis points down, (dy, -dx) of the page direction.
PagePoint LeftNormal(PagePoint a, PagePoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length <= 0) return {0, 0};
  return {dy / length, -dx / length};
}
}  // namespace

std::vector<PagePoint> OffsetLine(const std::vector<PagePoint>& line, double offset) {
  const std::size_t n = line.size();
  if (n < 2) return line;
  const bool closed =
      n > 2 && std::hypot(line[0].x - line[n - 1].x, line[0].y - line[n - 1].y) <= kClosedWithin;
  std::vector<PagePoint> moved(n);
  for (std::size_t i = 0; i < n; ++i) {
    // The normals of the segments before and after point i.
    PagePoint before{0, 0}, after{0, 0};
    if (i > 0)
      before = LeftNormal(line[i - 1], line[i]);
    else if (closed)
      before = LeftNormal(line[n - 2], line[0]);
    if (i + 1 < n)
      after = LeftNormal(line[i], line[i + 1]);
    else if (closed)
      after = LeftNormal(line[0], line[1]);
    if (i == 0 && !closed) before = after;
    if (i + 1 == n && !closed) after = before;
    PagePoint mitre{before.x + after.x, before.y + after.y};
    const double length = std::hypot(mitre.x, mitre.y);
    if (length < 1e-9) {
      mitre = after;
    } else {
      mitre = {mitre.x / length, mitre.y / length};
    }
    const double cosine = mitre.x * after.x + mitre.y * after.y;
    const double reach = std::min(kMostMitre, cosine > 1e-9 ? 1 / cosine : kMostMitre) * offset;
    moved[i] = {line[i].x + mitre.x * reach, line[i].y + mitre.y * reach};
  }
  return moved;
}

void DrawTwinStroke(SvgWriter& svg, const std::vector<PagePoint>& line, double width,
                    const std::string& leftColour, const std::string& rightColour) {
  svg.Empty("polyline", {{"class", "z0-left"},
                         {"points", PointsText(OffsetLine(line, width / 2))},
                         {"stroke", leftColour},
                         {"stroke-width", width},
                         {"stroke-linejoin", "round"}});
  svg.Empty("polyline", {{"class", "z0-right"},
                         {"points", PointsText(OffsetLine(line, -width / 2))},
                         {"stroke", rightColour},
                         {"stroke-width", width},
                         {"stroke-linejoin", "round"}});
}

}  // namespace kavi::tool
