#include "roughness_rose_plot.h"

#include <algorithm>
#include <cmath>

#include "plot_text.h"
#include "polar_geometry.h"
#include "roughness_classes.h"
#include "svg_writer.h"

namespace kavi::tool {

namespace {
// Figure layout, in pixels.
constexpr double kWidth = 1040;
constexpr double kMargin = 24;
constexpr double kRoseRadius = 280;
constexpr double kSectorNumberGap = 12;  // between the rose and the sector numbers
constexpr double kCompassGap = 36;       // between the rose and N, E, S, W
constexpr double kLegendGap = 64;        // between the rose and the legend
constexpr double kTitleBaseline = 36;
constexpr double kFirstKeyLine = 62;
constexpr double kLineHeight = 18;
constexpr double kSwatchHeight = 16;
constexpr double kSwatchRow = 24;
constexpr double kLeastTickGap = 28;  // between the distance rings that are labelled
constexpr double kLabelGap = 6;       // between two labels of the ruler

// Font sizes, in pixels.
constexpr double kTitleSize = 20;
constexpr double kTextSize = 13;
constexpr double kLegendTitleSize = 14;
constexpr double kLabelSize = 11;
constexpr double kSectorNumberSize = 10;
constexpr double kCompassSize = 15;

constexpr const char* kTextColour = "#222222";

// Round distances for the scale, in metres.
constexpr double kRoundDistances[] = {100,   200,   500,    1000,   2000,   5000,   10000,
                                      20000, 50000, 100000, 200000, 500000, 1000000};
// The scale reaches this much beyond the farthest change, so that the ring
// beyond it shows, and at least the least reach.
constexpr double kReachFactor = 1.5;
constexpr double kLeastReach = 1000;
// The scale is linear up to about a fortieth of its reach, logarithmic beyond.
constexpr double kLinearShare = 40;
constexpr double kLeastLinearPart = 50;
constexpr double kMostLinearPart = 1000;

// Radius on the page of a distance from the site: r = R ln(1 + d/d0) / ln(1 + reach/d0).
class DistanceScale {
 public:
  explicit DistanceScale(double farthest) {
    reach_ = kRoundDistances[std::size(kRoundDistances) - 1];
    for (const double d : kRoundDistances) {
      if (d >= std::max(kReachFactor * farthest, kLeastReach)) {
        reach_ = d;
        break;
      }
    }
    linearPart_ = std::clamp(reach_ / kLinearShare, kLeastLinearPart, kMostLinearPart);
  }
  double reach() const { return reach_; }
  double Radius(double distance) const {
    const double d = std::clamp(distance, 0.0, reach_);
    return kRoseRadius * std::log1p(d / linearPart_) / std::log1p(reach_ / linearPart_);
  }
  // The round distances to label, none closer to the next than kLeastTickGap.
  std::vector<double> Ticks() const {
    std::vector<double> ticks;
    for (auto d = std::rbegin(kRoundDistances); d != std::rend(kRoundDistances); ++d) {
      if (*d > reach_) continue;
      const double last = ticks.empty() ? kRoseRadius + kLeastTickGap : Radius(ticks.back());
      if (last - Radius(*d) >= kLeastTickGap && Radius(*d) >= kLeastTickGap / 2)
        ticks.push_back(*d);
    }
    std::reverse(ticks.begin(), ticks.end());
    return ticks;
  }

 private:
  double reach_;
  double linearPart_;
};

std::string DistanceText(double metres) {
  return metres < 1000 ? TrimmedNumber(metres, 0) + " m" : TrimmedNumber(metres / 1000, 2) + " km";
}

std::string RoughnessText(double z0) { return TrimmedNumber(z0, 4) + " m"; }

// Centre bearing of the sector with index (sector 1 has index 0) of count sectors.
double CentreBearing(std::size_t index, std::size_t count) {
  return 360.0 * static_cast<double>(index) / static_cast<double>(count);
}

double Farthest(const RoughnessRose& rose) {
  double farthest = 0;
  for (const RoseSector& sector : rose.sectors)
    if (!sector.distances.empty()) farthest = std::max(farthest, sector.distances.back());
  return farthest;
}

void DrawSector(SvgWriter& svg, PagePoint centre, const RoseSector& sector, std::size_t index,
                std::size_t count, const DistanceScale& scale) {
  const double bearing = CentreBearing(index, count);
  const double half = 180.0 / static_cast<double>(count);
  svg.Open("g", {{"class", "sector"}});
  for (std::size_t r = 0; r < sector.roughness.size(); ++r) {
    const double from = r == 0 ? 0.0 : sector.distances[r - 1];
    const bool last = r == sector.distances.size();
    const double inner = scale.Radius(from);
    const double outer = last ? kRoseRadius : scale.Radius(sector.distances[r]);
    const double z0 = sector.roughness[r];
    svg.Open("path", {{"class", "ring"},
                      {"d", RingSegmentPath(centre, bearing - half, bearing + half, inner, outer)},
                      {"fill", RoughnessClassOf(z0).colour},
                      {"stroke", "#ffffff"},
                      {"stroke-width", 0.6}});
    svg.Text("title", {},
             "Sector " + std::to_string(index + 1) + " (" + TrimmedNumber(bearing, 1) + "°): z0 " +
                 RoughnessText(z0) + (r == 0 ? " from the site" : " from " + DistanceText(from)) +
                 (last ? " outward" : " to " + DistanceText(sector.distances[r])));
    svg.Close();
  }
  svg.Close();
}

void DrawDistanceRings(SvgWriter& svg, PagePoint centre, std::size_t count,
                       const DistanceScale& scale) {
  // Labelled along the sector edge nearest to north-east.
  const double width = 360.0 / static_cast<double>(count);
  const double bearing = width / 2 + std::round((45 - width / 2) / width) * width;
  for (const double d : scale.Ticks()) {
    svg.Empty("circle", {{"class", "distance-ring"},
                         {"cx", centre.x},
                         {"cy", centre.y},
                         {"r", scale.Radius(d)},
                         {"fill", "none"},
                         {"stroke", "#000000"},
                         {"stroke-opacity", "0.45"},
                         {"stroke-dasharray", "4 3"}});
  }
  for (const double d : scale.Ticks())
    PatchedLabel(svg, PointAt(centre, bearing, scale.Radius(d) - kLabelSize / 2 - 1),
                 DistanceText(d), kLabelSize, "distance-label");
}

void DrawCompassAndSectors(SvgWriter& svg, PagePoint centre, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const PagePoint at = PointAt(centre, CentreBearing(i, count), kRoseRadius + kSectorNumberGap);
    svg.Text("text",
             {{"class", "sector-number"},
              {"x", at.x},
              {"y", at.y},
              {"dy", "0.35em"},
              {"text-anchor", "middle"},
              {"font-size", kSectorNumberSize},
              {"fill", "#666666"}},
             std::to_string(i + 1));
  }
  CompassLetters(svg, centre, kRoseRadius + kCompassGap, kCompassSize, kTextColour);
}

// A ruler of the distance scale under the rose, from the site outward: a tick
// at every labelled distance ring, labels where they have room, outermost first.
void DrawDistanceRuler(SvgWriter& svg, PagePoint start, const DistanceScale& scale) {
  svg.Empty("line", {{"x1", start.x},
                     {"y1", start.y},
                     {"x2", start.x + kRoseRadius},
                     {"y2", start.y},
                     {"stroke", kTextColour}});
  std::vector<double> ticks = scale.Ticks();
  ticks.insert(ticks.begin(), 0.0);
  double freeUpTo = start.x + kRoseRadius + kRoseRadius;  // labels must end left of this
  for (auto d = ticks.rbegin(); d != ticks.rend(); ++d) {
    const double x = start.x + scale.Radius(*d);
    svg.Empty(
        "line",
        {{"x1", x}, {"y1", start.y - 5}, {"x2", x}, {"y2", start.y + 5}, {"stroke", kTextColour}});
    const std::string text = *d == 0 ? std::string("0") : DistanceText(*d);
    const double half = TextWidth(text, kLabelSize) / 2;
    if (x + half + kLabelGap > freeUpTo) continue;
    freeUpTo = x - half;
    svg.Text("text",
             {{"class", "distance-scale"},
              {"x", x},
              {"y", start.y + 19},
              {"text-anchor", "middle"},
              {"font-size", kLabelSize},
              {"fill", kTextColour}},
             text);
  }
  svg.Text(
      "text",
      {{"x", start.x}, {"y", start.y + 40}, {"font-size", kLabelSize + 1}, {"fill", kTextColour}},
      "Distance from the site: linear near the site, logarithmic farther out");
}

void DrawClassLegend(SvgWriter& svg, PagePoint topLeft) {
  svg.Text("text",
           {{"x", topLeft.x},
            {"y", topLeft.y},
            {"font-size", kLegendTitleSize},
            {"font-weight", "bold"},
            {"fill", kTextColour}},
           "Roughness length z0");
  double y = topLeft.y + 14;
  for (const RoughnessClass& roughness : RoughnessClasses()) {
    svg.Open("g", {{"class", "roughness-class"}});
    svg.Empty("rect", {{"x", topLeft.x},
                       {"y", y},
                       {"width", 28.0},
                       {"height", kSwatchHeight},
                       {"fill", roughness.colour},
                       {"stroke", "#888888"},
                       {"stroke-width", 0.5}});
    const std::string description =
        *roughness.description ? std::string(": ") + roughness.description : std::string();
    svg.Text("text",
             {{"x", topLeft.x + 38},
              {"y", y + kSwatchHeight - 4},
              {"font-size", kTextSize - 1},
              {"fill", kTextColour}},
             RoughnessText(roughness.length) + description);
    svg.Close();
    y += kSwatchRow;
  }
  const char* const notes[] = {"Each ring takes the class nearest to", "its z0 on a log scale.",
                               "Dashed circles: distance from the site."};
  y += 12;
  for (const char* note : notes) {
    svg.Text("text",
             {{"x", topLeft.x}, {"y", y}, {"font-size", kTextSize - 1}, {"fill", "#444444"}}, note);
    y += kLineHeight - 2;
  }
}
}  // namespace

std::string RoughnessRoseSvg(const RoughnessRose& rose, double x, double y,
                             const std::string& fileName) {
  const std::size_t count = rose.sectors.size();
  const std::vector<std::string> keyLines = {
      std::to_string(count) + (count == 1 ? " sector" : " sectors") + " of " +
          TrimmedNumber(360.0 / static_cast<double>(std::max<std::size_t>(count, 1)), 1) +
          "°, sector 1 centred on north, numbered clockwise; roughness rose file " + fileName + ".",
      "Per sector, the rings show the roughness length met going outward from the site;",
      "ring edges are roughness changes, and the outermost ring is the roughness beyond the last "
      "change."};
  const double roseTop =
      kFirstKeyLine + static_cast<double>(keyLines.size()) * kLineHeight + kCompassGap + 12;
  const PagePoint centre = {kMargin + kCompassGap + 12 + kRoseRadius, roseTop + kRoseRadius};
  const double rulerY = centre.y + kRoseRadius + kCompassGap + 30;
  const double height = rulerY + 40 + kMargin;
  const DistanceScale scale(Farthest(rose));

  SvgWriter svg(kWidth, height);
  svg.Text("title", {}, "Roughness rose");
  svg.Text("text",
           {{"class", "figure-title"},
            {"x", kMargin},
            {"y", kTitleBaseline},
            {"font-size", kTitleSize},
            {"font-weight", "bold"},
            {"fill", kTextColour}},
           "Roughness rose at x " + TrimmedNumber(x, 1) + " m, y " + TrimmedNumber(y, 1) + " m");
  for (std::size_t i = 0; i < keyLines.size(); ++i)
    svg.Text("text",
             {{"class", "key"},
              {"x", kMargin},
              {"y", kFirstKeyLine + static_cast<double>(i) * kLineHeight},
              {"font-size", kTextSize},
              {"fill", kTextColour}},
             keyLines[i]);
  for (std::size_t i = 0; i < count; ++i) DrawSector(svg, centre, rose.sectors[i], i, count, scale);
  DrawDistanceRings(svg, centre, std::max<std::size_t>(count, 1), scale);
  DrawCompassAndSectors(svg, centre, count);
  DrawDistanceRuler(svg, {centre.x, rulerY}, scale);
  DrawClassLegend(svg, {centre.x + kRoseRadius + kLegendGap, roseTop});
  return svg.Finish();
}

}  // namespace kavi::tool
