#include "map_drawing.h"

#include <cmath>

#include "plot_text.h"

namespace kavi::tool {

namespace {
constexpr double kScaleBarHeight = 6;
constexpr double kScaleTextSize = 11;
constexpr double kArrowWidth = 16;
constexpr double kArrowHeight = 30;
constexpr double kArrowTextSize = 14;
constexpr double kPatchPadding = 5;

void WhitePatch(SvgWriter& svg, const PageBox& box) {
  svg.Empty("rect", {{"x", box.x0},
                     {"y", box.y0},
                     {"width", box.x1 - box.x0},
                     {"height", box.y1 - box.y0},
                     {"rx", 3.0},
                     {"fill", "#ffffff"},
                     {"fill-opacity", "0.85"}});
}

// The longest length of 1, 2 or 5 times a power of ten metres within limit.
double RoundLength(double limit) {
  if (!(limit > 0) || !std::isfinite(limit)) return 1;
  const double decade = std::pow(10.0, std::floor(std::log10(limit)));
  for (const double factor : {5.0, 2.0, 1.0})
    if (factor * decade <= limit) return factor * decade;
  return decade;
}

// A length on the scale bar in the bar's unit.
std::string ScaleText(double metres, bool kilometres) {
  return TrimmedNumber(kilometres ? metres / 1000 : metres, 3);
}
}  // namespace

std::vector<PagePoint> PagePoints(const std::vector<gis::MapPoint>& points,
                                  const PageTransform& page) {
  std::vector<PagePoint> onPage;
  onPage.reserve(points.size());
  for (const gis::MapPoint& p : points) {
    const PagePoint at = page(p.x, p.y);
    if (!onPage.empty() && onPage.back().x == at.x && onPage.back().y == at.y) continue;
    onPage.push_back(at);
  }
  return onPage;
}

std::string PointsText(const std::vector<PagePoint>& points) {
  std::string text;
  for (const PagePoint& at : points) text += SvgNumber(at.x) + "," + SvgNumber(at.y) + " ";
  return text;
}

void DrawMapLines(SvgWriter& svg, const gis::MapLines& map, const PageTransform& page,
                  const char* clipId, const LineStyle& contour, const LineStyle& roughness) {
  svg.Open("g", {{"class", "map-lines"},
                 {"clip-path", std::string("url(#") + clipId + ")"},
                 {"fill", "none"}});
  for (const gis::MapLine& line : map.lines) {
    const LineStyle& style = line.IsRoughnessChange() ? roughness : contour;
    svg.Empty("polyline", {{"points", PointsText(PagePoints(line.points, page))},
                           {"stroke", style.colour},
                           {"stroke-width", style.width},
                           {"stroke-dasharray", style.dash},
                           {"stroke-opacity", style.opacity}});
  }
  svg.Close();
}

void DrawSiteMarkers(SvgWriter& svg, const std::vector<MarkedSite>& sites,
                     const PageTransform& page, const char* clipId, double labelSize) {
  svg.Open("g", {{"class", "sites"}, {"clip-path", std::string("url(#") + clipId + ")"}});
  for (const MarkedSite& site : sites) {
    const PagePoint at = page(site.x, site.y);
    svg.Empty("circle", {{"class", "site"},
                         {"cx", at.x},
                         {"cy", at.y},
                         {"r", kSiteMarkerRadius},
                         {"fill", "#ffffff"},
                         {"stroke", "#000000"},
                         {"stroke-width", 1.5}});
    svg.Text("text",
             {{"class", "site-label"},
              {"x", at.x + kSiteMarkerRadius + 2},
              {"y", at.y - kSiteMarkerRadius},
              {"font-size", labelSize},
              {"fill", "#000000"},
              {"stroke", "#ffffff"},
              {"stroke-width", 2.5},
              {"paint-order", "stroke"}},
             site.label);
  }
  svg.Close();
}

PageBox SiteMarkerBox(const MarkedSite& site, const PageTransform& page, double labelSize) {
  const PagePoint at = page(site.x, site.y);
  return {at.x - kSiteMarkerRadius, at.y - kSiteMarkerRadius - labelSize,
          at.x + kSiteMarkerRadius + 2 + TextWidth(site.label, labelSize),
          at.y + kSiteMarkerRadius};
}

PageBox DrawScaleBar(SvgWriter& svg, const PageTransform& page, PagePoint bottomLeft,
                     double maxWidth) {
  const double metres = RoundLength(maxWidth / page.scale);
  const bool kilometres = metres >= 1000;
  const double width = metres * page.scale;
  const double barTop = bottomLeft.y - kScaleTextSize - 4 - kScaleBarHeight;
  const std::string unit = kilometres ? " km" : " m";
  const double endTextWidth = TextWidth(ScaleText(metres, kilometres) + unit, kScaleTextSize);
  const PageBox box{bottomLeft.x - kPatchPadding, barTop - kPatchPadding,
                    bottomLeft.x + width + endTextWidth / 2 + kPatchPadding,
                    bottomLeft.y + kPatchPadding};
  svg.Open("g", {{"class", "scale-bar"}});
  WhitePatch(svg, box);
  for (int half = 0; half < 2; ++half)
    svg.Empty("rect", {{"x", bottomLeft.x + half * width / 2},
                       {"y", barTop},
                       {"width", width / 2},
                       {"height", kScaleBarHeight},
                       {"fill", half == 0 ? "#000000" : "#ffffff"},
                       {"stroke", "#000000"},
                       {"stroke-width", 0.8}});
  for (int i = 0; i <= 2; ++i)
    svg.Text("text",
             {{"x", bottomLeft.x + i * width / 2},
              {"y", bottomLeft.y},
              {"text-anchor", "middle"},
              {"font-size", kScaleTextSize},
              {"fill", "#000000"}},
             ScaleText(metres * i / 2, kilometres) + (i == 2 ? unit : ""));
  svg.Close();
  return box;
}

PageBox DrawNorthArrow(SvgWriter& svg, PagePoint topRight) {
  const double x = topRight.x - kPatchPadding - kArrowWidth / 2;
  const double top = topRight.y + kPatchPadding;
  const double tip = top + kArrowTextSize + 2;
  const PageBox box{topRight.x - kArrowWidth - 2 * kPatchPadding, topRight.y, topRight.x,
                    tip + kArrowHeight + kPatchPadding};
  svg.Open("g", {{"class", "north-arrow"}});
  WhitePatch(svg, box);
  svg.Text("text",
           {{"x", x},
            {"y", top + kArrowTextSize - 2},
            {"text-anchor", "middle"},
            {"font-size", kArrowTextSize},
            {"font-weight", "bold"},
            {"fill", "#000000"}},
           "N");
  // Two halves of an arrow head, one filled, as on printed maps.
  const double half = kArrowWidth / 2, bottom = tip + kArrowHeight, notch = bottom - 8;
  svg.Empty("path",
            {{"d", "M" + SvgNumber(x) + " " + SvgNumber(tip) + " L" + SvgNumber(x - half) + " " +
                       SvgNumber(bottom) + " L" + SvgNumber(x) + " " + SvgNumber(notch) + " Z"},
             {"fill", "#000000"}});
  svg.Empty("path",
            {{"d", "M" + SvgNumber(x) + " " + SvgNumber(tip) + " L" + SvgNumber(x + half) + " " +
                       SvgNumber(bottom) + " L" + SvgNumber(x) + " " + SvgNumber(notch) + " Z"},
             {"fill", "#ffffff"},
             {"stroke", "#000000"},
             {"stroke-width", 1.0}});
  svg.Close();
  return box;
}

}  // namespace kavi::tool
