#include "wind_rose_plot.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

#include "colour_ramp.h"
#include "number_text.h"
#include "plot_scale.h"
#include "plot_text.h"
#include "polar_geometry.h"
#include "svg_writer.h"

namespace kavi::tool {

namespace {
// Figure layout, in pixels.
constexpr double kMargin = 24;
constexpr double kMinimumWidth = 720;
constexpr double kPanelWidth = 440;
constexpr double kPanelHeight = 480;
constexpr PagePoint kRoseCentre = {220, 272};  // within a panel
constexpr double kRoseRadius = 135;            // of the outermost frequency ring
constexpr double kLabelGap = 4;                // between the rose and the A labels
constexpr double kCompassGap = 14;             // between the A labels and N, E, S, W
constexpr double kLabelPadding = 2;            // least room between two A labels
constexpr double kWedgeShare = 0.86;           // of the sector width; the rest is a gap
constexpr double kLegendBarWidth = 360;
constexpr double kLegendBarHeight = 14;
constexpr double kLineHeight = 18;

// Font sizes, in pixels.
constexpr double kTitleSize = 20;
constexpr double kTextSize = 13;
constexpr double kPanelTitleSize = 14;
constexpr double kPanelTextSize = 12;
constexpr double kLabelSize = 11;
constexpr double kRadialLabelSize = 10;
constexpr double kRingLabelSize = 10;
constexpr double kCompassSize = 14;

// Decimals of the values written, as in the tool's table output; the labels
// around a rose carry one decimal less than the panel title.
constexpr int kSpeedDecimals = 2;
constexpr int kLabelDecimals = 1;
constexpr int kShapeDecimals = 3;
constexpr int kFrequencyDecimals = 2;
constexpr int kPowerDecimals = 1;

constexpr const char* kNoValueColour = "#b0b0b0";
constexpr const char* kGridColour = "#c8c8c8";
constexpr const char* kTextColour = "#222222";
constexpr const char* kSpeedGradient = "speed-ramp";

// Scales shared by all panels, so that the sites compare at a glance.
struct Scales {
  double frequencyTop;   // % at the outermost ring
  double frequencyStep;  // % between rings
  ScaleRange speed;      // m/s across the colour ramp
};

// The frequency scale spans all sites of all pages; the speed scale is the
// one asked for, whatever the sites hold.
Scales CommonScales(std::span<const SiteOutcome> sites, const SpeedScale& speed) {
  double top = 0;
  for (const SiteOutcome& site : sites)
    for (const SectorOutcome& sector : site.sectors)
      if (std::isfinite(sector.frequency)) top = std::max(top, sector.frequency);
  if (!(top > 0)) top = 10;
  const double step = NiceStep(top, 4);
  return {std::ceil(top / step - 1e-9) * step,
          step,
          {speed.lower, speed.upper, NiceStep(speed.upper - speed.lower, 5)}};
}

// Values beyond the scale take the colour of its end.
std::string SpeedColour(double A, const ScaleRange& speed) {
  if (!std::isfinite(A)) return kNoValueColour;
  return RampColour(std::clamp((A - speed.lower) / (speed.upper - speed.lower), 0.0, 1.0));
}

std::string Translate(PagePoint at) {
  return "translate(" + SvgNumber(at.x) + " " + SvgNumber(at.y) + ")";
}

// The Weibull A written beside one wedge.
struct SectorLabel {
  std::string text;
  PagePoint at;      // centre of the text
  double rotation;   // degrees clockwise; 0 for level text
  double halfWidth;  // of the level text's box
  double halfHeight;
};

struct LabelLayout {
  std::vector<SectorLabel> labels;  // empty when there is no room for them
  double fontSize;
  double outer;  // the radius the labels reach
};

bool Overlapping(const SectorLabel& a, const SectorLabel& b) {
  return std::fabs(a.at.x - b.at.x) < a.halfWidth + b.halfWidth + kLabelPadding &&
         std::fabs(a.at.y - b.at.y) < a.halfHeight + b.halfHeight + kLabelPadding;
}

// Level text, each label pushed out just far enough to clear the rose.
LabelLayout LevelLabels(const std::vector<std::string>& texts) {
  LabelLayout layout{{}, kLabelSize, kRoseRadius};
  const std::size_t count = texts.size();
  for (std::size_t i = 0; i < count; ++i) {
    const double bearing = SectorBearing(i + 1, count);
    const double radians = bearing * std::numbers::pi / 180;
    const double halfWidth = TextWidth(texts[i], kLabelSize) / 2;
    const double halfHeight = kLabelSize / 2;
    const double reach =
        std::fabs(halfWidth * std::sin(radians)) + std::fabs(halfHeight * std::cos(radians));
    const double radius = kRoseRadius + kLabelGap + reach;
    layout.labels.push_back(
        {texts[i], PointAt(kRoseCentre, bearing, radius), 0, halfWidth, halfHeight});
    layout.outer = std::max(layout.outer, radius + reach);
  }
  return layout;
}

bool AnyOverlap(const LabelLayout& layout) {
  for (std::size_t i = 0; i < layout.labels.size(); ++i)
    for (std::size_t j = i + 1; j < layout.labels.size(); ++j)
      if (Overlapping(layout.labels[i], layout.labels[j])) return true;
  return false;
}

// Text along the radius, read from the left as far as possible; the labels
// stand side by side around the rose, each one line high.
LabelLayout RadialLabels(const std::vector<std::string>& texts) {
  LabelLayout layout{{}, kRadialLabelSize, kRoseRadius};
  const std::size_t count = texts.size();
  const double room = 2 * std::numbers::pi * (kRoseRadius + kLabelGap) / static_cast<double>(count);
  if (room < kRadialLabelSize + kLabelPadding) return layout;
  for (std::size_t i = 0; i < count; ++i) {
    const double bearing = SectorBearing(i + 1, count);
    const double width = TextWidth(texts[i], kRadialLabelSize);
    const double rotation = bearing < 180 ? bearing - 90 : bearing - 270;
    layout.labels.push_back({texts[i],
                             PointAt(kRoseCentre, bearing, kRoseRadius + kLabelGap + width / 2),
                             rotation, width / 2, kRadialLabelSize / 2});
    layout.outer = std::max(layout.outer, kRoseRadius + kLabelGap + width);
  }
  return layout;
}

LabelLayout SectorLabels(const SiteOutcome& site) {
  std::vector<std::string> texts;
  for (const SectorOutcome& sector : site.sectors)
    texts.push_back(FixedText(sector.weibullA, kLabelDecimals));
  if (texts.empty()) return {{}, kLabelSize, kRoseRadius};
  LabelLayout level = LevelLabels(texts);
  if (!AnyOverlap(level)) return level;
  return RadialLabels(texts);
}

// The bearing between two neighbouring sectors whose wedges are shortest,
// where the ring labels hide the least of the rose.
double RingLabelBearing(const SiteOutcome& site) {
  const std::size_t count = site.sectors.size();
  if (count == 0) return 45;
  const auto frequency = [&](std::size_t i) {
    const double f = site.sectors[i % count].frequency;
    return std::isfinite(f) ? f : 0.0;
  };
  std::size_t best = 0;
  for (std::size_t i = 1; i < count; ++i)
    if (std::max(frequency(i), frequency(i + 1)) < std::max(frequency(best), frequency(best + 1)))
      best = i;
  return SectorBearing(best + 1, count) + 180.0 / static_cast<double>(count);
}

void DrawGrid(SvgWriter& svg, const Scales& scales) {
  for (const double bearing : {0.0, 90.0}) {
    const PagePoint a = PointAt(kRoseCentre, bearing, kRoseRadius);
    const PagePoint b = PointAt(kRoseCentre, bearing + 180, kRoseRadius);
    svg.Empty("line",
              {{"x1", a.x}, {"y1", a.y}, {"x2", b.x}, {"y2", b.y}, {"stroke", kGridColour}});
  }
  for (double f = scales.frequencyStep; f <= scales.frequencyTop * (1 + 1e-9);
       f += scales.frequencyStep)
    svg.Empty("circle", {{"cx", kRoseCentre.x},
                         {"cy", kRoseCentre.y},
                         {"r", kRoseRadius * f / scales.frequencyTop},
                         {"fill", "none"},
                         {"stroke", kGridColour}});
}

void DrawWedges(SvgWriter& svg, const SiteOutcome& site, const Scales& scales) {
  const std::size_t count = site.sectors.size();
  const double halfWidth = 180.0 / static_cast<double>(count) * kWedgeShare;
  for (std::size_t i = 0; i < count; ++i) {
    const SectorOutcome& sector = site.sectors[i];
    const double bearing = SectorBearing(i + 1, count);
    svg.Open("g", {{"class", "sector"}});
    svg.Text("title", {},
             "Sector " + std::to_string(i + 1) + ", " + TrimmedNumber(bearing, 1) +
                 "°: frequency " + FixedText(sector.frequency, kFrequencyDecimals) + " %, A " +
                 FixedText(sector.weibullA, kSpeedDecimals) + " m/s, k " +
                 FixedText(sector.weibullK, kShapeDecimals) + ", power density " +
                 FixedText(sector.powerDensity, kPowerDecimals) + " W/m²");
    const double f = std::isfinite(sector.frequency) ? sector.frequency : 0.0;
    const double radius = kRoseRadius * std::clamp(f / scales.frequencyTop, 0.0, 1.0);
    if (radius > 0)
      svg.Empty(
          "path",
          {{"d", RingSegmentPath(kRoseCentre, bearing - halfWidth, bearing + halfWidth, 0, radius)},
           {"fill", SpeedColour(sector.weibullA, scales.speed)},
           {"stroke", "#ffffff"},
           {"stroke-width", 0.75}});
    svg.Close();
  }
}

void DrawRingLabels(SvgWriter& svg, const SiteOutcome& site, const Scales& scales) {
  const double bearing = RingLabelBearing(site);
  for (double f = scales.frequencyStep; f <= scales.frequencyTop * (1 + 1e-9);
       f += scales.frequencyStep) {
    const double radius = kRoseRadius * f / scales.frequencyTop - kRingLabelSize / 2 - 1;
    PatchedLabel(svg, PointAt(kRoseCentre, bearing, radius),
                 TickText(f, scales.frequencyStep) + " %", kRingLabelSize, "ring-label");
  }
}

void DrawSectorLabels(SvgWriter& svg, const LabelLayout& layout) {
  for (const SectorLabel& label : layout.labels) {
    SvgAttributes attributes = {{"class", "sector-a"},     {"x", label.at.x},
                                {"y", label.at.y},         {"dy", "0.35em"},
                                {"text-anchor", "middle"}, {"font-size", layout.fontSize},
                                {"fill", kTextColour}};
    if (label.rotation != 0)
      attributes.push_back({"transform", "rotate(" + SvgNumber(label.rotation) + " " +
                                             SvgNumber(label.at.x) + " " + SvgNumber(label.at.y) +
                                             ")"});
    svg.Text("text", attributes, label.text);
  }
}

void DrawPanel(SvgWriter& svg, const SiteOutcome& site, std::size_t number, const Scales& scales,
               PagePoint origin) {
  svg.Open("g", {{"class", "panel"}, {"transform", Translate(origin)}});
  svg.Empty("rect", {{"x", 4.0},
                     {"y", 4.0},
                     {"width", kPanelWidth - 8},
                     {"height", kPanelHeight - 8},
                     {"rx", 6.0},
                     {"fill", "none"},
                     {"stroke", "#d8d8d8"}});
  svg.Text("text",
           {{"class", "panel-title"},
            {"x", 18.0},
            {"y", 30.0},
            {"font-size", kPanelTitleSize},
            {"font-weight", "bold"},
            {"fill", kTextColour}},
           "Site " + std::to_string(number) + (site.name.empty() ? "" : " (" + site.name + ")") +
               ": x " + TrimmedNumber(site.x, 1) + " m, y " + TrimmedNumber(site.y, 1) + " m");
  svg.Text("text", {{"x", 18.0}, {"y", 50.0}, {"font-size", kPanelTextSize}, {"fill", kTextColour}},
           "Height " + TrimmedNumber(site.height, 1) + " m above ground, elevation " +
               TrimmedNumber(site.elevation, 1) + " m");
  svg.Text("text",
           {{"class", "site-totals"},
            {"x", 18.0},
            {"y", 68.0},
            {"font-size", kPanelTextSize},
            {"fill", kTextColour}},
           "All sectors: A " + FixedText(site.weibullA, kSpeedDecimals) + " m/s, k " +
               FixedText(site.weibullK, kShapeDecimals) + ", power density " +
               FixedText(site.powerDensity, kPowerDecimals) + " W/m²");
  DrawGrid(svg, scales);
  DrawWedges(svg, site, scales);
  DrawRingLabels(svg, site, scales);
  const LabelLayout labels = SectorLabels(site);
  DrawSectorLabels(svg, labels);
  CompassLetters(svg, kRoseCentre, labels.outer + kCompassGap, kCompassSize, kTextColour);
  if (site.sectors.empty())
    PatchedLabel(svg, kRoseCentre, "no sector results", kPanelTextSize, "note");
  svg.Close();
}

// A line of text under the figure's title; a note stands out from the key.
struct KeyLine {
  std::string text;
  bool note;
};

std::vector<KeyLine> KeyLines(std::span<const SiteOutcome> shown, const std::string& atlasName,
                              const Scales& scales, const std::string& pageText) {
  const std::size_t count = shown.front().sectors.size();
  const bool sameCount = std::all_of(shown.begin(), shown.end(), [&](const SiteOutcome& site) {
    return site.sectors.size() == count;
  });
  std::string sectors = "sector 1 centred on north, numbered clockwise.";
  if (sameCount && count > 0)
    sectors = std::to_string(count) + " sectors of " +
              TrimmedNumber(360.0 / static_cast<double>(count), 1) + "°, " + sectors;
  std::vector<KeyLine> lines = {
      {"Wind atlas " + atlasName + "; " + sectors, false},
      {"Wedge length: sector frequency in %, rings every " +
           TickText(scales.frequencyStep, scales.frequencyStep) + " % (same scale in all panels).",
       false},
      {"Wedge colour and the numbers around each rose: Weibull A of the sector in m/s.", false}};
  if (!pageText.empty()) lines.push_back({pageText, true});
  return lines;
}

constexpr double kTitleBaseline = 36;
constexpr double kFirstKeyLine = 62;

double LegendTop(std::size_t keyLines) {
  return kFirstKeyLine + static_cast<double>(keyLines) * kLineHeight + 6;
}

double HeaderHeight(std::size_t keyLines) { return LegendTop(keyLines) + 62; }

void DrawSpeedLegend(SvgWriter& svg, const ScaleRange& speed, double top, bool anyMissing) {
  svg.Text("text",
           {{"x", kMargin}, {"y", top + 10}, {"font-size", kTextSize}, {"fill", kTextColour}},
           "Weibull A of the sector (m/s)");
  const double barTop = top + 18;
  svg.Open("defs");
  svg.Open("linearGradient",
           {{"id", kSpeedGradient}, {"x1", "0"}, {"x2", "1"}, {"y1", "0"}, {"y2", "0"}});
  for (const RampStop& stop : RampStops())
    svg.Empty("stop", {{"offset", stop.offset}, {"stop-color", stop.colour}});
  svg.Close();
  svg.Close();
  svg.Empty("rect", {{"class", "colour-scale"},
                     {"x", kMargin},
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
  if (!anyMissing) return;
  const double x = kMargin + kLegendBarWidth + 24;
  svg.Empty("rect", {{"x", x},
                     {"y", barTop},
                     {"width", 20.0},
                     {"height", kLegendBarHeight},
                     {"fill", kNoValueColour}});
  svg.Text("text",
           {{"x", x + 26}, {"y", barTop + 11}, {"font-size", kLabelSize}, {"fill", kTextColour}},
           "no value");
}

bool AnyMissingSpeed(std::span<const SiteOutcome> sites) {
  for (const SiteOutcome& site : sites)
    for (const SectorOutcome& sector : site.sectors)
      if (!std::isfinite(sector.weibullA)) return true;
  return false;
}

std::string WindRosePage(std::span<const SiteOutcome> shown, std::size_t firstNumber,
                         const std::string& atlasName, const Scales& scales,
                         const std::string& pageText) {
  const std::size_t count = shown.size();
  const std::size_t columns = count <= 3 ? std::max<std::size_t>(count, 1) : (count == 4 ? 2 : 3);
  const std::size_t rows = (count + columns - 1) / columns;
  const std::vector<KeyLine> keyLines = shown.empty()
                                            ? std::vector<KeyLine>{{"No sites.", true}}
                                            : KeyLines(shown, atlasName, scales, pageText);
  const double width =
      std::max(kMinimumWidth, static_cast<double>(columns) * kPanelWidth + 2 * kMargin);
  const double panelsTop = HeaderHeight(keyLines.size());
  const double height = panelsTop + static_cast<double>(rows) * kPanelHeight + kMargin;

  SvgWriter svg(width, height);
  svg.Text("title", {}, "Predicted wind climate: wind roses");
  svg.Text("text",
           {{"class", "figure-title"},
            {"x", kMargin},
            {"y", kTitleBaseline},
            {"font-size", kTitleSize},
            {"font-weight", "bold"},
            {"fill", kTextColour}},
           "Predicted wind climate: wind roses of " + std::to_string(count) +
               (count == 1 ? " site" : " sites"));
  for (std::size_t i = 0; i < keyLines.size(); ++i) {
    const KeyLine& line = keyLines[i];
    svg.Text("text",
             {{"class", line.note ? "note" : "key"},
              {"x", kMargin},
              {"y", kFirstKeyLine + static_cast<double>(i) * kLineHeight},
              {"font-size", kTextSize},
              {"fill", line.note ? "#a40000" : kTextColour}},
             line.text);
  }
  DrawSpeedLegend(svg, scales.speed, LegendTop(keyLines.size()), AnyMissingSpeed(shown));

  const double panelsLeft = (width - static_cast<double>(columns) * kPanelWidth) / 2;
  for (std::size_t i = 0; i < count; ++i) {
    const PagePoint origin = {panelsLeft + static_cast<double>(i % columns) * kPanelWidth,
                              panelsTop + static_cast<double>(i / columns) * kPanelHeight};
    DrawPanel(svg, shown[i], firstNumber + i, scales, origin);
  }
  return svg.Finish();
}
}  // namespace

std::vector<std::string> WindRoseSvgPages(const std::vector<SiteOutcome>& sites,
                                          const std::string& atlasName, const SpeedScale& speed) {
  const Scales scales = CommonScales(sites, speed);
  const std::size_t pages =
      std::max<std::size_t>(1, (sites.size() + kSitesPerPage - 1) / kSitesPerPage);
  std::vector<std::string> documents;
  for (std::size_t page = 0; page < pages; ++page) {
    const std::size_t first = page * kSitesPerPage;
    const std::size_t count = std::min(kSitesPerPage, sites.size() - first);
    const std::string pageText =
        pages == 1
            ? ""
            : "Page " + std::to_string(page + 1) + " of " + std::to_string(pages) + ": sites " +
                  std::to_string(first + 1) + " to " + std::to_string(first + count) + " of " +
                  std::to_string(sites.size()) + ".";
    documents.push_back(WindRosePage(std::span<const SiteOutcome>(sites.data() + first, count),
                                     first + 1, atlasName, scales, pageText));
  }
  return documents;
}

}  // namespace kavi::tool
