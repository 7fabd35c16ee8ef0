// Drawing of a map's area on a page, shared by the plots that show a map: the
// page transform (north up, one scale on both axes), a map's lines as
// polylines, the sites marked with their labels, a scale bar and a north
// arrow.
#pragma once

#include <gis/map_lines.h>

#include <string>
#include <vector>

#include "polar_geometry.h"
#include "svg_writer.h"

namespace kavi::tool {

// The page style of the plots that show a map.
namespace map_page {
constexpr double kMargin = 24;
constexpr double kTitleSize = 18;
constexpr double kTextSize = 12;
constexpr double kLabelSize = 11;
constexpr const char* kTextColour = "#222222";
}  // namespace map_page

// Page position of map coordinates: x to the right, y upwards.
struct PageTransform {
  double west, north, scale, left, top;
  PagePoint operator()(double x, double y) const {
    return {left + (x - west) * scale, top + (north - y) * scale};
  }
};

// The line's points on the page, consecutive points that fall on the same
// place left out.
std::vector<PagePoint> PagePoints(const std::vector<gis::MapPoint>& points,
                                  const PageTransform& page);

// Page points as the value of an SVG points attribute.
std::string PointsText(const std::vector<PagePoint>& points);

// How DrawMapLines draws each kind of line.
struct LineStyle {
  const char* colour;
  double width;
  const char* dash;  // "none" for a solid line
  double opacity;
};

// Every line of the map in one group clipped to clipId: contours in one
// style, roughness-change lines in the other.
void DrawMapLines(SvgWriter& svg, const gis::MapLines& map, const PageTransform& page,
                  const char* clipId, const LineStyle& contour, const LineStyle& roughness);

// A site to mark: its position in map coordinates and the text beside it.
struct MarkedSite {
  double x;
  double y;
  std::string label;
};

constexpr double kSiteMarkerRadius = 4;

// Each site as a white dot ringed in black with its label above right, in
// one group clipped to clipId.
void DrawSiteMarkers(SvgWriter& svg, const std::vector<MarkedSite>& sites,
                     const PageTransform& page, const char* clipId, double labelSize);

// The box a site's marker and label take on the page, for laying out other
// labels around them.
struct PageBox {
  double x0, y0, x1, y1;
  bool Overlaps(const PageBox& other, double gap) const {
    return x0 < other.x1 + gap && other.x0 < x1 + gap && y0 < other.y1 + gap && other.y0 < y1 + gap;
  }
};
PageBox SiteMarkerBox(const MarkedSite& site, const PageTransform& page, double labelSize);

// A scale bar of a round length of at most maxWidth pixels, with its left
// end at bottomLeft (the bottom of its labels); returns the box it takes.
PageBox DrawScaleBar(SvgWriter& svg, const PageTransform& page, PagePoint bottomLeft,
                     double maxWidth);

// An arrow pointing to the top of the page with the letter N, its top right
// corner at topRight; returns the box it takes.
PageBox DrawNorthArrow(SvgWriter& svg, PagePoint topRight);

}  // namespace kavi::tool
