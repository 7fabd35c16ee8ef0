#include "resource_map_plot.h"

#include <algorithm>
#include <cmath>

#include "colour_ramp.h"
#include "map_drawing.h"
#include "number_text.h"
#include "plot_scale.h"
#include "plot_text.h"
#include "svg_writer.h"

namespace kavi::tool {

namespace {
using namespace map_page;
constexpr double kPlotSize = 720;  // the longer side of the grid's area, px
constexpr double kHeaderHeight = 70;
constexpr double kLegendHeight = 70;
constexpr double kLegendBarWidth = 360;
constexpr double kLegendBarHeight = 14;
// Larger grids are drawn with every n-th node, each over n × n cells, so that
// the picture stays a size that viewers open quickly.
constexpr std::size_t kMostDrawnCells = 250;
constexpr const char* kNoValueColour = "#b0b0b0";
constexpr const char* kContourColour = "#1a1a1a";
constexpr const char* kRoughnessColour = "#e0287a";
constexpr const char* kSpeedGradient = "mean-speed-ramp";
constexpr const char* kPlotClip = "grid-area";

ScaleRange SpeedRange(const GridValues& values) {
  double low = INFINITY, high = -INFINITY;
  for (std::size_t node = 0; node < values.NodeCount(); ++node) {
    const float v = values.At(NodeQuantity::kMeanSpeed, 0, node);
    if (std::isnan(v)) continue;
    low = std::min(low, static_cast<double>(v));
    high = std::max(high, static_cast<double>(v));
  }
  return NiceRange(low, high, 6, 0.5, {0, 10, 2});
}

void DrawCells(SvgWriter& svg, const GridValues& values, const PageTransform& page,
               const ScaleRange& speed, bool& anyMissing) {
  const GridLayout& layout = values.layout();
  const std::size_t stride = std::max<std::size_t>(
      1, (std::max(layout.columns, layout.rows) + kMostDrawnCells - 1) / kMostDrawnCells);
  svg.Open("g", {{"class", "mean-speed"}, {"shape-rendering", "crispEdges"}});
  for (std::size_t r = 0; r < layout.rows; r += stride) {
    for (std::size_t c = 0; c < layout.columns; c += stride) {
      const float v = values.At(NodeQuantity::kMeanSpeed, 0, r * layout.columns + c);
      anyMissing |= std::isnan(v);
      // The node's cell, or with a stride the block of cells it stands for.
      const std::size_t across = std::min(stride, layout.columns - c);
      const std::size_t up = std::min(stride, layout.rows - r);
      const PagePoint corner =
          page(layout.X(c) - layout.spacing / 2, layout.Y(r + up - 1) + layout.spacing / 2);
      const double t = (v - speed.lower) / (speed.upper - speed.lower);
      svg.Empty("rect", {{"x", corner.x},
                         {"y", corner.y},
                         {"width", static_cast<double>(across) * layout.spacing * page.scale + 0.3},
                         {"height", static_cast<double>(up) * layout.spacing * page.scale + 0.3},
                         {"fill", std::isnan(v) ? kNoValueColour : RampColour(t)}});
    }
  }
  svg.Close();
}

void DrawLegend(SvgWriter& svg, const ScaleRange& speed, double top, bool anyMissing) {
  svg.Text("text",
           {{"x", kMargin}, {"y", top + 12}, {"font-size", kTextSize}, {"fill", kTextColour}},
           "Mean wind speed (m/s)");
  const double barTop = top + 20;
  svg.Open("defs");
  svg.Open("linearGradient",
           {{"id", kSpeedGradient}, {"x1", "0"}, {"x2", "1"}, {"y1", "0"}, {"y2", "0"}});
  for (const RampStop& stop : RampStops())
    svg.Empty("stop", {{"offset", stop.offset}, {"stop-color", stop.colour}});
  svg.Close();
  svg.Close();
  svg.Empty("rect", {{"x", kMargin},
                     {"y", barTop},
                     {"width", kLegendBarWidth},
                     {"height", kLegendBarHeight},
                     {"fill", std::string("url(#") + kSpeedGradient + ")"},
                     {"stroke", "#888888"},
                     {"stroke-width", 0.5}});
  const double span = speed.upper - speed.lower;
  const int steps = static_cast<int>(std::lround(span / speed.step));
  for (int i = 0; i <= steps; ++i) {
    const double value = speed.lower + i * speed.step;
    const double x = kMargin + kLegendBarWidth * (value - speed.lower) / span;
    const double tickBottom = barTop + kLegendBarHeight + 4;
    svg.Empty("line",
              {{"x1", x}, {"y1", barTop}, {"x2", x}, {"y2", tickBottom}, {"stroke", "#555555"}});
    svg.Text("text",
             {{"x", x},
              {"y", tickBottom + 12},
              {"text-anchor", "middle"},
              {"font-size", kLabelSize},
              {"fill", kTextColour}},
             TickText(value, speed.step));
  }
  double x = kMargin + kLegendBarWidth + 24;
  const auto key = [&](const char* colour, const char* dash, double width, const char* text) {
    svg.Empty("line", {{"x1", x},
                       {"y1", barTop + 7},
                       {"x2", x + 24},
                       {"y2", barTop + 7},
                       {"stroke", colour},
                       {"stroke-width", width},
                       {"stroke-dasharray", dash}});
    svg.Text("text",
             {{"x", x + 30}, {"y", barTop + 11}, {"font-size", kLabelSize}, {"fill", kTextColour}},
             text);
    x += 30 + TextWidth(text, kLabelSize) + 18;
  };
  key(kContourColour, "none", 0.8, "height contour");
  key(kRoughnessColour, "5,3", 1.6, "roughness change");
  if (!anyMissing) return;
  svg.Empty("rect", {{"x", x},
                     {"y", barTop},
                     {"width", 20.0},
                     {"height", kLegendBarHeight},
                     {"fill", kNoValueColour}});
  svg.Text("text",
           {{"x", x + 26}, {"y", barTop + 11}, {"font-size", kLabelSize}, {"fill", kTextColour}},
           "no value (failed)");
}
}  // namespace

std::string ResourceMapSvg(const GridValues& values, const gis::MapLines& map,
                           const std::vector<SiteSpec>& sites, const std::string& title) {
  const GridLayout& layout = values.layout();
  // The grid's area: the cells around the outermost nodes.
  const double west = layout.x0 - layout.spacing / 2;
  const double east = layout.X(layout.columns - 1) + layout.spacing / 2;
  const double south = layout.y0 - layout.spacing / 2;
  const double north = layout.Y(layout.rows - 1) + layout.spacing / 2;
  const double scale = kPlotSize / std::max(east - west, north - south);
  const double plotWidth = (east - west) * scale, plotHeight = (north - south) * scale;
  const double width = std::max(plotWidth, kLegendBarWidth + 420) + 2 * kMargin;
  const double height = kHeaderHeight + plotHeight + kLegendHeight + kMargin;
  const PageTransform page{west, north, scale, kMargin, kHeaderHeight};

  SvgWriter svg(width, height);
  svg.Open("defs");
  svg.Open("clipPath", {{"id", kPlotClip}});
  svg.Empty("rect",
            {{"x", kMargin}, {"y", kHeaderHeight}, {"width", plotWidth}, {"height", plotHeight}});
  svg.Close();
  svg.Close();
  svg.Text("text",
           {{"x", kMargin},
            {"y", 28},
            {"font-size", kTitleSize},
            {"font-weight", "bold"},
            {"fill", kTextColour}},
           "Mean wind speed at " + ShortestText(values.heights().front()) + " m above ground");
  svg.Text("text", {{"x", kMargin}, {"y", 48}, {"font-size", kTextSize}, {"fill", kTextColour}},
           title);
  svg.Text("text", {{"x", kMargin}, {"y", 64}, {"font-size", kTextSize}, {"fill", kTextColour}},
           std::to_string(layout.columns) + " × " + std::to_string(layout.rows) + " nodes every " +
               ShortestText(layout.spacing) + " m, x " + ShortestText(layout.x0) + " … " +
               ShortestText(layout.X(layout.columns - 1)) + ", y " + ShortestText(layout.y0) +
               " … " + ShortestText(layout.Y(layout.rows - 1)) + "; north up");
  const ScaleRange speed = SpeedRange(values);
  bool anyMissing = false;
  svg.Open("g", {{"clip-path", std::string("url(#") + kPlotClip + ")"}});
  DrawCells(svg, values, page, speed, anyMissing);
  svg.Close();
  DrawMapLines(svg, map, page, kPlotClip, {kContourColour, 0.8, "none", 0.5},
               {kRoughnessColour, 1.6, "5,3", 0.95});
  std::vector<MarkedSite> marked;
  for (std::size_t i = 0; i < sites.size(); ++i)
    marked.push_back({sites[i].x, sites[i].y, std::to_string(i + 1)});
  DrawSiteMarkers(svg, marked, page, kPlotClip, kLabelSize);
  DrawScaleBar(svg, page, {kMargin + 12, kHeaderHeight + plotHeight - 10}, plotWidth / 4);
  DrawNorthArrow(svg, {kMargin + plotWidth - 8, kHeaderHeight + 8});
  svg.Empty("rect", {{"class", "grid-extent"},
                     {"x", kMargin},
                     {"y", kHeaderHeight},
                     {"width", plotWidth},
                     {"height", plotHeight},
                     {"fill", "none"},
                     {"stroke", "#000000"},
                     {"stroke-width", 1.2}});
  DrawLegend(svg, speed, kHeaderHeight + plotHeight + 8, anyMissing);
  return svg.Finish();
}

}  // namespace kavi::tool
