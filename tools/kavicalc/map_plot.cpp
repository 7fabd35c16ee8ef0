#include "map_plot.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

#include "contour_labels.h"
#include "plot_text.h"
#include "roughness_colours.h"
#include "twin_stroke.h"

namespace kavi::tool {

namespace {
using namespace map_page;
constexpr double kPlotSize = 760;  // the longer side of the map's area, px
constexpr double kMinimumWidth = 720;
constexpr double kHeaderHeight = 78;
constexpr double kKeyRowHeight = 22;
constexpr double kPadding = 0.03;  // of the map's size, around its lines
constexpr double kContourLabelSize = 10;
constexpr double kLabelSpacing = 320;    // px along a contour between its labels
constexpr int kMostLabelledLevels = 10;  // heights that carry labels
constexpr double kStrokeWidth = 2.2;     // each of a roughness line's two strokes
constexpr const char* kContourColour = "#8c7356";
constexpr const char* kLabelColour = "#5a4630";
constexpr const char* kPlotClip = "map-area";

// The heights of the contours and which of them carry labels.
struct ContourLevels {
  std::set<float> heights;
  double interval = 0;  // the smallest step between two heights; 0 with fewer than two
  double labelled = 0;  // every labelled-th metre carries labels; 0: every height

  bool Labelled(double height) const {
    if (labelled <= 0) return true;
    const double k = height / labelled;
    return std::fabs(k - std::round(k)) < 1e-3;
  }
};

ContourLevels LevelsOf(const gis::MapLines& map) {
  ContourLevels levels;
  for (const gis::MapLine& line : map.lines)
    if (line.IsContour()) levels.heights.insert(line.elevation);
  if (levels.heights.size() < 2) return levels;
  double smallest = INFINITY;
  for (auto a = levels.heights.begin(), b = std::next(a); b != levels.heights.end(); ++a, ++b)
    smallest = std::min(smallest, static_cast<double>(*b - *a));
  levels.interval = smallest;
  if (static_cast<int>(levels.heights.size()) <= kMostLabelledLevels) return levels;
  // Index contours: every 2nd, 5th, 10th, ... interval, as few as keep the
  // labelled heights under the limit, on heights that are whole multiples.
  for (const double factor : {2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0}) {
    levels.labelled = factor * smallest;
    const auto count = std::count_if(levels.heights.begin(), levels.heights.end(),
                                     [&](float h) { return levels.Labelled(h); });
    if (count > 0 && count <= kMostLabelledLevels) return levels;
  }
  levels.labelled = 0;
  return levels;
}

std::set<float> RoughnessLengths(const gis::MapLines& map) {
  std::set<float> z0s;
  for (const gis::MapLine& line : map.lines)
    if (line.IsRoughnessChange()) z0s.insert({line.z0Left, line.z0Right});
  return z0s;
}

std::string HeightText(double metres) { return TrimmedNumber(metres, 1); }

std::string SummaryLine(const gis::MapLines& map, const ContourLevels& levels,
                        std::size_t siteCount) {
  const auto contours = std::count_if(map.lines.begin(), map.lines.end(),
                                      [](const gis::MapLine& l) { return l.IsContour(); });
  const auto roughness = std::count_if(map.lines.begin(), map.lines.end(),
                                       [](const gis::MapLine& l) { return l.IsRoughnessChange(); });
  std::string text = std::to_string(contours) + (contours == 1 ? " contour" : " contours");
  if (!levels.heights.empty()) {
    text += ", " + HeightText(*levels.heights.begin()) + " to " +
            HeightText(*levels.heights.rbegin()) + " m";
    if (levels.interval > 0) text += " every " + HeightText(levels.interval) + " m";
  }
  text += "; " + std::to_string(roughness) +
          (roughness == 1 ? " roughness-change line" : " roughness-change lines");
  if (siteCount > 0)
    text += "; " + std::to_string(siteCount) + (siteCount == 1 ? " site" : " sites");
  return text;
}

void DrawContours(SvgWriter& svg, const gis::MapLines& map, const PageTransform& page,
                  const ContourLevels& levels) {
  svg.Open("g", {{"class", "contours"}, {"fill", "none"}, {"stroke", kContourColour}});
  for (const gis::MapLine& line : map.lines) {
    if (!line.IsContour()) continue;
    const bool index = levels.labelled > 0 && levels.Labelled(line.elevation);
    svg.Open("polyline", {{"class", "contour"},
                          {"points", PointsText(PagePoints(line.points, page))},
                          {"stroke-width", index ? 1.3 : 0.7}});
    svg.Text("title", {}, HeightText(line.elevation) + " m");
    svg.Close();
  }
  svg.Close();
}

void DrawRoughnessLines(SvgWriter& svg, const gis::MapLines& map, const PageTransform& page,
                        const RoughnessColours& colours) {
  svg.Open("g", {{"class", "roughness-lines"}, {"fill", "none"}});
  for (const gis::MapLine& line : map.lines) {
    if (!line.IsRoughnessChange()) continue;
    svg.Open("g", {{"class", "roughness-change"}});
    svg.Text("title", {},
             "z0 " + TrimmedNumber(line.z0Left, 4) + " m on the left, " +
                 TrimmedNumber(line.z0Right, 4) + " m on the right");
    DrawTwinStroke(svg, PagePoints(line.points, page), kStrokeWidth, colours.Of(line.z0Left),
                   colours.Of(line.z0Right));
    svg.Close();
  }
  svg.Close();
}

// Labels on the labelled contours, longest lines first so that the main
// lines of the relief are labelled before small closed rings.
void DrawContourLabels(SvgWriter& svg, const gis::MapLines& map, const PageTransform& page,
                       const ContourLevels& levels, const PageBox& area,
                       std::vector<PageBox>& taken) {
  std::vector<std::vector<PagePoint>> lines;
  std::vector<double> heights;
  for (const gis::MapLine& line : map.lines)
    if (line.IsContour() && levels.Labelled(line.elevation)) {
      lines.push_back(PagePoints(line.points, page));
      heights.push_back(line.elevation);
    }
  std::vector<double> lengths;
  for (const auto& line : lines) {
    double length = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
      length += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    lengths.push_back(length);
  }
  std::vector<std::size_t> order(lines.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return lengths[a] > lengths[b]; });
  svg.Open("g", {{"class", "contour-labels"},
                 {"font-size", kContourLabelSize},
                 {"fill", kLabelColour},
                 {"stroke", "#ffffff"},
                 {"stroke-width", 3.0},
                 {"paint-order", "stroke"},
                 {"text-anchor", "middle"}});
  const LabelRules rules{kContourLabelSize, kLabelSpacing, area};
  for (const std::size_t i : order)
    for (const ContourLabel& label :
         PlaceContourLabels(lines[i], HeightText(heights[i]), rules, taken))
      svg.Text("text",
               {{"class", "contour-label"},
                {"x", label.at.x},
                {"y", label.at.y},
                {"dy", "0.35em"},
                {"transform", "rotate(" + SvgNumber(label.rotation) + " " + SvgNumber(label.at.x) +
                                  " " + SvgNumber(label.at.y) + ")"}},
               label.text);
  svg.Close();
}

void KeyText(SvgWriter& svg, double x, double y, const std::string& text) {
  svg.Text("text", {{"x", x}, {"y", y}, {"font-size", kLabelSize}, {"fill", kTextColour}}, text);
}

// What the key explains.
struct MapKey {
  const ContourLevels& levels;
  const std::set<float>& z0s;
  const RoughnessColours& colours;
  bool anySites;
};

// The key under the map from `top` down: contours and sites on the first row,
// then the roughness lengths with their colours, wrapped to the page's width;
// returns the height it takes. Only measures it when `draw` is false.
double DrawKey(SvgWriter& svg, const MapKey& key, double top, double width, bool draw) {
  const ContourLevels& levels = key.levels;
  const std::set<float>& z0s = key.z0s;
  const RoughnessColours& colours = key.colours;
  double x = kMargin, y = top + 14;
  const auto contourKey = [&](double strokeWidth, const std::string& text) {
    if (draw) {
      svg.Empty("line", {{"x1", x},
                         {"y1", y - 4},
                         {"x2", x + 24},
                         {"y2", y - 4},
                         {"stroke", kContourColour},
                         {"stroke-width", strokeWidth}});
      KeyText(svg, x + 30, y, text);
    }
    x += 30 + TextWidth(text, kLabelSize) + 18;
  };
  if (!levels.heights.empty()) {
    if (levels.labelled > 0) {
      contourKey(0.7, "contour every " + HeightText(levels.interval) + " m");
      contourKey(1.3, "labelled every " + HeightText(levels.labelled) + " m");
    } else {
      contourKey(0.7, "height contour, labelled in m");
    }
  }
  if (key.anySites) {
    if (draw)
      svg.Empty("circle", {{"cx", x + 6},
                           {"cy", y - 4},
                           {"r", kSiteMarkerRadius},
                           {"fill", "#ffffff"},
                           {"stroke", "#000000"},
                           {"stroke-width", 1.5}});
    if (draw) KeyText(svg, x + 16, y, "site");
    x += 60;
  }
  if (z0s.empty()) return y - top + 8;
  y += kKeyRowHeight;
  x = kMargin;
  const std::string lead =
      "Roughness-change lines: each side coloured by the roughness length z0 (m) on that side:";
  if (draw) {
    const std::vector<PagePoint> sample = {{x, y - 4}, {x + 24, y - 4}};
    svg.Open("g", {{"fill", "none"}});
    DrawTwinStroke(svg, sample, kStrokeWidth, "#888888", "#cccccc");
    svg.Close();
    KeyText(svg, x + 30, y, lead);
  }
  y += kKeyRowHeight;
  for (const float z0 : z0s) {
    const std::string text = TrimmedNumber(z0, 4) + (z0 > 0 ? "" : " (water)");
    const double itemWidth = 22 + TextWidth(text, kLabelSize) + 16;
    if (x + itemWidth > width - kMargin && x > kMargin) {
      x = kMargin;
      y += kKeyRowHeight;
    }
    if (draw) {
      svg.Empty("rect", {{"class", "z0-swatch"},
                         {"x", x},
                         {"y", y - 11},
                         {"width", 16.0},
                         {"height", 12.0},
                         {"fill", colours.Of(z0)}});
      KeyText(svg, x + 22, y, text);
    }
    x += itemWidth;
  }
  return y - top + 8;
}
}  // namespace

std::string MapPlotSvg(const gis::MapLines& map, const std::vector<MarkedSite>& sites,
                       const MapPlotHeader& header) {
  gis::MapExtent extent = map.Extent();
  if (extent.empty) extent = {-500, -500, 500, 500, false};
  const double padX = std::max<double>(1, (extent.maxX - extent.minX) * kPadding);
  const double padY = std::max<double>(1, (extent.maxY - extent.minY) * kPadding);
  const double pad = std::max(padX, padY);
  const double west = extent.minX - pad, east = extent.maxX + pad;
  const double south = extent.minY - pad, north = extent.maxY + pad;
  const double scale = kPlotSize / std::max(east - west, north - south);
  const double plotWidth = (east - west) * scale, plotHeight = (north - south) * scale;
  const double width = std::max(plotWidth, kMinimumWidth) + 2 * kMargin;
  const double left = (width - plotWidth) / 2;
  const PageTransform page{west, north, scale, left, kHeaderHeight};

  const ContourLevels levels = LevelsOf(map);
  const std::set<float> z0s = RoughnessLengths(map);
  const RoughnessColours colours(z0s);
  SvgWriter measure(1, 1);
  const double keyTop = kHeaderHeight + plotHeight + 10;
  const MapKey key{levels, z0s, colours, !sites.empty()};
  const double keyHeight = DrawKey(measure, key, keyTop, width, false);
  const double height = keyTop + keyHeight + kMargin / 2;

  SvgWriter svg(width, height);
  svg.Text("title", {}, header.title);
  svg.Open("defs");
  svg.Open("clipPath", {{"id", kPlotClip}});
  svg.Empty("rect",
            {{"x", left}, {"y", kHeaderHeight}, {"width", plotWidth}, {"height", plotHeight}});
  svg.Close();
  svg.Close();
  svg.Text("text",
           {{"class", "figure-title"},
            {"x", kMargin},
            {"y", 28},
            {"font-size", kTitleSize},
            {"font-weight", "bold"},
            {"fill", kTextColour}},
           header.title);
  svg.Text("text", {{"x", kMargin}, {"y", 48}, {"font-size", kTextSize}, {"fill", kTextColour}},
           SummaryLine(map, levels, sites.size()));
  svg.Text("text", {{"x", kMargin}, {"y", 66}, {"font-size", kTextSize}, {"fill", kTextColour}},
           header.extentLine + "; north up");

  svg.Open("g", {{"clip-path", std::string("url(#") + kPlotClip + ")"}});
  DrawContours(svg, map, page, levels);
  DrawRoughnessLines(svg, map, page, colours);
  svg.Close();

  // What the contour labels keep clear of: the sites, scale bar and arrow.
  std::vector<PageBox> taken;
  for (const MarkedSite& site : sites) taken.push_back(SiteMarkerBox(site, page, kLabelSize));
  taken.push_back(
      DrawScaleBar(svg, page, {left + 14, kHeaderHeight + plotHeight - 10}, plotWidth / 4));
  taken.push_back(DrawNorthArrow(svg, {left + plotWidth - 8, kHeaderHeight + 8}));
  const PageBox area{left + 2, kHeaderHeight + 2, left + plotWidth - 2,
                     kHeaderHeight + plotHeight - 2};
  DrawContourLabels(svg, map, page, levels, area, taken);
  DrawSiteMarkers(svg, sites, page, kPlotClip, kLabelSize);
  svg.Empty("rect", {{"class", "map-frame"},
                     {"x", left},
                     {"y", kHeaderHeight},
                     {"width", plotWidth},
                     {"height", plotHeight},
                     {"fill", "none"},
                     {"stroke", "#000000"},
                     {"stroke-width", 1.2}});
  DrawKey(svg, key, keyTop, width, true);
  return svg.Finish();
}

}  // namespace kavi::tool
