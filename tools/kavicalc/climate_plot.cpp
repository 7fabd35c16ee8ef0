#include "climate_plot.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "colour_ramp.h"
#include "number_text.h"
#include "plot_scale.h"
#include "plot_text.h"
#include "polar_geometry.h"
#include "site_outcome.h"
#include "svg_writer.h"

namespace kavi::tool {

namespace {
// Figure layout, in pixels.
constexpr double kWidth = 1000;
constexpr double kHeight = 640;
constexpr double kMargin = 24;
constexpr PagePoint kRoseCentre = {250, 350};
constexpr double kRoseRadius = 170;
constexpr double kCompassGap = 16;
constexpr double kWedgeShare = 0.86;  // of the sector width; the rest is a gap
constexpr double kPlotLeft = 580;     // of the histogram's axes
constexpr double kPlotRight = 960;
constexpr double kPlotTop = 150;
constexpr double kPlotBottom = 520;
constexpr double kLegendTop = 560;
constexpr int kMostSpeedClasses = 6;
constexpr int kCurvePoints = 240;

constexpr double kTitleSize = 20;
constexpr double kTextSize = 13;
constexpr double kLabelSize = 11;
constexpr double kCompassSize = 14;

constexpr const char* kGridColour = "#c8c8c8";
constexpr const char* kTextColour = "#222222";
constexpr const char* kBarColour = "#9ecae1";
constexpr const char* kCurveColour = "#c0392b";

// Speed classes of the rose: lower limits in whole multiples of step; the
// last class is open above.
struct SpeedClasses {
  double step;
  int count;
  int Of(double speed) const {
    return std::min(static_cast<int>(std::floor(speed / step + 1e-9)), count - 1);
  }
  std::string Label(int i) const {
    if (i == count - 1) return "≥ " + TrimmedNumber(i * step, 2) + " m/s";
    return TrimmedNumber(i * step, 2) + "–" + TrimmedNumber((i + 1) * step, 2) + " m/s";
  }
  std::string Colour(int i) const {
    return RampColour(count > 1 ? 0.15 + 0.8 * i / (count - 1.0) : 0.5);
  }
};

SpeedClasses ClassesFor(double highest, double binWidth) {
  // Classes about a seventh of the highest speed wide; the open last class
  // takes the rare strong winds. Class limits are bin limits (the first bin's
  // width is the width of a series' bins), so every bin falls in one class.
  const double step =
      std::max(binWidth, std::ceil(NiceStep(highest, 7) / binWidth - 1e-9) * binWidth);
  const int count =
      std::clamp(static_cast<int>(std::ceil(highest / step - 1e-9)), 1, kMostSpeedClasses);
  return {step, count};
}

double Lower(const BinnedClimate& climate, std::size_t b) {
  return b == 0 ? 0 : climate.upperLimits[b - 1];
}

// Percent of the records above the calm limit, per sector and speed class.
std::vector<std::vector<double>> ClassFrequencies(const BinnedClimate& climate,
                                                  const SpeedClasses& classes) {
  const double total = climate.AboveCalm();
  std::vector<std::vector<double>> shares(climate.sectors, std::vector<double>(classes.count, 0));
  for (int i = 0; i < climate.sectors; ++i)
    for (std::size_t b = 0; b < climate.upperLimits.size(); ++b) {
      const double middle = (Lower(climate, b) + climate.upperLimits[b]) / 2;
      shares[i][classes.Of(middle)] += total > 0 ? 100 * climate.counts[i][b] / total : 0;
    }
  return shares;
}

void Label(SvgWriter& svg, double x, double y, const std::string& text, double size,
           const char* anchor = "start", const char* weight = "normal") {
  svg.Text("text",
           {{"x", x},
            {"y", y},
            {"font-size", size},
            {"text-anchor", anchor},
            {"font-weight", weight},
            {"fill", kTextColour}},
           text);
}

void DrawRose(SvgWriter& svg, const ClimateSummary& summary, const BinnedClimate& climate,
              const SpeedClasses& classes) {
  const std::vector<std::vector<double>> shares = ClassFrequencies(climate, classes);
  double top = 0;
  for (const double f : summary.frequencies) top = std::max(top, f);
  const double step = NiceStep(top > 0 ? top : 10, 4);
  top = std::max(step, std::ceil(top / step - 1e-9) * step);
  const double scale = kRoseRadius / top;

  svg.Open("g", {{"class", "wind-rose"}});
  Label(svg, kRoseCentre.x, kPlotTop - 40, "Wind rose: frequency per sector (%)", kTextSize + 1,
        "middle", "bold");
  for (const double bearing : {0.0, 90.0}) {
    const PagePoint a = PointAt(kRoseCentre, bearing, kRoseRadius);
    const PagePoint b = PointAt(kRoseCentre, bearing + 180, kRoseRadius);
    svg.Empty("line",
              {{"x1", a.x}, {"y1", a.y}, {"x2", b.x}, {"y2", b.y}, {"stroke", kGridColour}});
  }
  for (double f = step; f <= top * (1 + 1e-9); f += step)
    svg.Empty("circle", {{"cx", kRoseCentre.x},
                         {"cy", kRoseCentre.y},
                         {"r", f * scale},
                         {"fill", "none"},
                         {"stroke", kGridColour}});
  const int sectors = climate.sectors;
  const double halfWidth = 180.0 / sectors * (sectors == 1 ? 1.0 : kWedgeShare);
  for (int i = 0; i < sectors; ++i) {
    const double bearing = SectorBearing(i + 1, sectors);
    svg.Open("g", {{"class", "sector"}});
    const SpeedStatistics& s = summary.statistics.sectors[i];
    svg.Text("title", {},
             "Sector " + std::to_string(i + 1) + ", " + TrimmedNumber(bearing, 1) +
                 "°: frequency " + FixedText(summary.frequencies[i], 2) + " %, mean speed " +
                 FixedText(s.meanSpeed, 2) + " m/s");
    double inner = 0;
    for (int c = 0; c < classes.count; ++c) {
      const double outer = inner + shares[i][c] * scale;
      if (outer > inner)
        svg.Empty("path", {{"d", RingSegmentPath(kRoseCentre, bearing - halfWidth,
                                                 bearing + halfWidth, inner, outer)},
                           {"fill", classes.Colour(c)},
                           {"stroke", "#ffffff"},
                           {"stroke-width", 0.5}});
      inner = outer;
    }
    svg.Close();
  }
  for (double f = step; f <= top * (1 + 1e-9); f += step)
    PatchedLabel(svg, PointAt(kRoseCentre, 135, f * scale), TickText(f, step) + " %", kLabelSize,
                 "ring-label");
  CompassLetters(svg, kRoseCentre, kRoseRadius + kCompassGap, kCompassSize, kTextColour);
  svg.Close();
}

void DrawSpeedClassLegend(SvgWriter& svg, const SpeedClasses& classes) {
  svg.Open("g", {{"class", "speed-classes"}});
  double x = kMargin;
  Label(svg, x, kLegendTop, "Speed classes:", kLabelSize);
  x += 90;
  for (int c = 0; c < classes.count; ++c) {
    svg.Empty("rect", {{"x", x},
                       {"y", kLegendTop - 10},
                       {"width", 12.0},
                       {"height", 12.0},
                       {"fill", classes.Colour(c)}});
    const std::string text = classes.Label(c);
    Label(svg, x + 16, kLegendTop, text, kLabelSize);
    x += 16 + TextWidth(text, kLabelSize) + 14;
  }
  svg.Close();
}

void DrawHistogram(SvgWriter& svg, const ClimateSummary& summary, const BinnedClimate& climate) {
  const double total = climate.AboveCalm();
  const std::size_t bins = climate.upperLimits.size();
  std::vector<double> density(bins, 0.0);  // % per m/s
  double highestDensity = 0;
  for (std::size_t b = 0; b < bins; ++b) {
    double count = 0;
    for (const auto& sector : climate.counts) count += sector[b];
    const double width = climate.upperLimits[b] - Lower(climate, b);
    density[b] = total > 0 ? 100 * count / (total * width) : 0;
    highestDensity = std::max(highestDensity, density[b]);
  }
  const std::optional<WeibullFit>& fit = summary.statistics.all.weibull;
  const double highestSpeed = climate.upperLimits.back();
  if (fit)
    for (int i = 0; i <= kCurvePoints; ++i)
      highestDensity =
          std::max(highestDensity, 100 * WeibullDensity(*fit, highestSpeed * i / kCurvePoints));
  const ScaleRange xs = NiceRange(0, highestSpeed, 6, 1, {0, 20, 5});
  const ScaleRange ys = NiceRange(0, highestDensity, 5, 1, {0, 20, 5});
  const auto X = [&](double u) {
    return kPlotLeft + (kPlotRight - kPlotLeft) * (u - xs.lower) / (xs.upper - xs.lower);
  };
  const auto Y = [&](double d) {
    return kPlotBottom - (kPlotBottom - kPlotTop) * (d - ys.lower) / (ys.upper - ys.lower);
  };

  svg.Open("g", {{"class", "speed-histogram"}});
  Label(svg, (kPlotLeft + kPlotRight) / 2, kPlotTop - 40, "Speed distribution, all sectors",
        kTextSize + 1, "middle", "bold");
  for (double d = ys.lower; d <= ys.upper + ys.step / 2; d += ys.step) {
    svg.Empty("line", {{"x1", kPlotLeft},
                       {"y1", Y(d)},
                       {"x2", kPlotRight},
                       {"y2", Y(d)},
                       {"stroke", kGridColour}});
    Label(svg, kPlotLeft - 6, Y(d) + 4, TickText(d, ys.step), kLabelSize, "end");
  }
  for (double u = xs.lower; u <= xs.upper + xs.step / 2; u += xs.step) {
    svg.Empty("line", {{"x1", X(u)},
                       {"y1", kPlotBottom},
                       {"x2", X(u)},
                       {"y2", kPlotBottom + 5},
                       {"stroke", "#555555"}});
    Label(svg, X(u), kPlotBottom + 18, TickText(u, xs.step), kLabelSize, "middle");
  }
  for (std::size_t b = 0; b < bins; ++b)
    if (density[b] > 0)
      svg.Empty("rect", {{"class", "bar"},
                         {"x", X(Lower(climate, b))},
                         {"y", Y(density[b])},
                         {"width", X(climate.upperLimits[b]) - X(Lower(climate, b))},
                         {"height", Y(0) - Y(density[b])},
                         {"fill", kBarColour},
                         {"stroke", "#ffffff"},
                         {"stroke-width", 0.5}});
  if (fit) {
    std::string path;
    for (int i = 0; i <= kCurvePoints; ++i) {
      const double u = xs.upper * i / kCurvePoints;
      path += (i ? " L" : "M") + SvgNumber(X(u)) + " " +
              SvgNumber(Y(std::min(100 * WeibullDensity(*fit, u), ys.upper)));
    }
    svg.Empty("path", {{"class", "weibull-density"},
                       {"d", path},
                       {"fill", "none"},
                       {"stroke", kCurveColour},
                       {"stroke-width", 2.0}});
  }
  svg.Empty("line", {{"x1", kPlotLeft},
                     {"y1", kPlotBottom},
                     {"x2", kPlotRight},
                     {"y2", kPlotBottom},
                     {"stroke", "#555555"}});
  svg.Empty("line", {{"x1", kPlotLeft},
                     {"y1", kPlotTop},
                     {"x2", kPlotLeft},
                     {"y2", kPlotBottom},
                     {"stroke", "#555555"}});
  Label(svg, (kPlotLeft + kPlotRight) / 2, kPlotBottom + 38, "Wind speed (m/s)", kTextSize,
        "middle");
  svg.Text("text",
           {{"x", kPlotLeft - 44},
            {"y", (kPlotTop + kPlotBottom) / 2},
            {"font-size", kTextSize},
            {"text-anchor", "middle"},
            {"fill", kTextColour},
            {"transform", "rotate(-90 " + SvgNumber(kPlotLeft - 44) + " " +
                              SvgNumber((kPlotTop + kPlotBottom) / 2) + ")"}},
           "Frequency (% per m/s)");
  // Key in the upper right corner of the axes.
  const double keyX = kPlotRight - 200;
  svg.Empty(
      "rect",
      {{"x", keyX}, {"y", kPlotTop + 8}, {"width", 14.0}, {"height", 10.0}, {"fill", kBarColour}});
  Label(svg, keyX + 20, kPlotTop + 17, "measured, above the calm limit", kLabelSize);
  if (fit) {
    svg.Empty("line", {{"x1", keyX},
                       {"y1", kPlotTop + 32},
                       {"x2", keyX + 14},
                       {"y2", kPlotTop + 32},
                       {"stroke", kCurveColour},
                       {"stroke-width", 2.0}});
    Label(svg, keyX + 20, kPlotTop + 36,
          "Weibull A " + FixedText(fit->A, 2) + " m/s, k " + FixedText(fit->k, 3), kLabelSize);
  }
  svg.Close();
}

std::string DataLine(const ClimateSummary& summary) {
  std::string line = std::filesystem::path(summary.input).filename().string() + ": ";
  if (summary.fromTable) {
    line +=
        "frequency table of " + FixedText(static_cast<double>(summary.used), 0) + " observations";
  } else {
    line += std::to_string(summary.used) + " of " +
            std::to_string(summary.read - summary.outsidePeriod) + " records used, data recovery " +
            FixedText(summary.recovery.value_or(0), 1) + " %";
    if (!summary.firstTime.empty()) line += ", " + summary.firstTime + " to " + summary.lastTime;
  }
  return line + "; calms " + FixedText(summary.CalmShare(), 1) + " %";
}

std::string StationLine(const ClimateSummary& summary) {
  const SpeedStatistics& all = summary.statistics.all;
  return "Height " + TrimmedNumber(summary.station.height, 2) + " m; " +
         std::to_string(summary.sectors) + " sectors, sector 1 centred on north; mean speed " +
         FixedText(all.meanSpeed, 2) + " m/s, power density " + FixedText(all.powerDensity, 1) +
         " W/m² (all records)";
}
}  // namespace

std::string ClimateSvg(const ClimateSummary& summary, const BinnedClimate& climate) {
  SvgWriter svg(kWidth, kHeight);
  svg.Text("title", {}, "Observed wind climate: " + summary.station.title);
  Label(svg, kMargin, 36, summary.station.title, kTitleSize, "start", "bold");
  Label(svg, kMargin, 60, DataLine(summary), kTextSize);
  Label(svg, kMargin, 78, StationLine(summary), kTextSize);
  double highest = climate.upperLimits.back();
  for (std::size_t b = climate.upperLimits.size(); b-- > 0;) {
    bool any = false;
    for (const auto& sector : climate.counts) any = any || sector[b] > 0;
    if (any) break;
    highest = Lower(climate, b);
  }
  const SpeedClasses classes = ClassesFor(highest, climate.upperLimits.front());
  DrawRose(svg, summary, climate, classes);
  DrawSpeedClassLegend(svg, classes);
  DrawHistogram(svg, summary, climate);
  Label(svg, kMargin, kHeight - 20,
        "Rose and histogram: records above the calm limit; calms are spread over the first bin "
        "in the climate file.",
        kLabelSize);
  return svg.Finish();
}

}  // namespace kavi::tool
