// map plot: a picture of a map, read by the engine's own reader.
#include <kavi/abi.h>

#include <cstdio>
#include <filesystem>

#include "call_failure.h"
#include "error_report.h"
#include "figure_files.h"
#include "file_options.h"
#include "gis/map_lines.h"
#include "map_origin.h"
#include "map_plot.h"
#include "map_subcommand.h"
#include "output_checks.h"
#include "site_checks.h"
#include "site_list.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc map plot FILE.map --out FILE.svg|FILE.png [--sites FILE.csv]
                        [--at X,Y ...]

Draws a map as the engine reads it: height contours with their heights
written along them, roughness-change lines as two strokes side by side, each
coloured by the roughness length z0 on its side of the line (left and right
looking from the line's first point to its last), the sites marked and
labelled, a scale bar and a north arrow. Above the map: the file's name, its
lines and heights, and its extent (in the CRS when the map records one);
below it a key of the contours and of every z0 present.

On a map that records a CRS and an origin (an imported map), site positions
are given in the CRS's own coordinates, as for rose, atlas and predict.

Options:
  --out FILE        the picture: SVG, or a PNG image when the name ends in
                    .png; e.g. --out site.svg
  --sites FILE.csv  sites to mark, as predict reads them (x,y[,height] rows,
                    or a header naming x, y, name columns); labelled by name,
                    else by number; e.g. --sites examples/turbines.csv
  --at X,Y          a position to mark, repeatable; numbered after the sites
                    of --sites; e.g. --at 1200,-300
  --help            this help

Examples:
  kavicalc map plot examples/site.map --out site.svg
  kavicalc map plot examples/site.map --sites examples/turbines.csv --out site.png
  kavicalc map plot butte.map --at 335950,4807300 --out butte.svg
)";

std::string Text(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

std::string ExtentLine(const gis::MapLines& map, const MapOrigin& origin) {
  const gis::MapExtent e = map.Extent();
  if (e.empty) return "no points";
  if (!origin.Recorded())
    return "x " + Text(e.minX) + " to " + Text(e.maxX) + " m, y " + Text(e.minY) + " to " +
           Text(e.maxY) + " m (map coordinates, no CRS recorded)";
  const Position low = origin.ToCrs({e.minX, e.minY}), high = origin.ToCrs({e.maxX, e.maxY});
  return origin.reference()->crs + ": x " + Text(low.x) + " to " + Text(high.x) + ", y " +
         Text(low.y) + " to " + Text(high.y);
}

bool OnMap(const gis::MapExtent& e, double x, double y) {
  return !e.empty && x >= e.minX && x <= e.maxX && y >= e.minY && y <= e.maxY;
}

int Run(const ToolEdition& edition, const std::string& file, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string& out = RequiredFile(options, "--out");
  CheckFigureName(out, "--out", command);
  const std::string* sitesFile = OptionalFile(options, "--sites");
  std::vector<SiteSpec> sites =
      sitesFile ? ReadSiteList(*sitesFile, command) : std::vector<SiteSpec>{};
  for (const std::string& text : options.All("--at")) {
    const Position at = ParsePosition(text, command);
    sites.push_back({at.x, at.y, std::nullopt, {}});
  }
  std::vector<FileOption> inputs = {{"FILE.map", file}};
  if (sitesFile) inputs.push_back({"--sites", *sitesFile});
  CheckOutputs(inputs, {{"--out", out}}, command);
  const gis::MapLines map = ReadSubcommandMap(edition, file, command);
  const MapOrigin origin = MapOriginOf(file);
  const gis::MapExtent extent = map.Extent();
  std::vector<MarkedSite> marked;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    const Position local = origin.ToLocal({sites[i].x, sites[i].y});
    const std::string label = sites[i].name.empty() ? std::to_string(i + 1) : sites[i].name;
    if (!OnMap(extent, local.x, local.y))
      ReportWarning(SiteText(sites[i].x, sites[i].y, sites[i].name) +
                    " lies outside the map's extent and is not shown");
    marked.push_back({local.x, local.y, label});
  }
  const std::string name = std::filesystem::path(file).filename().string();
  WriteFigure(out, {MapPlotSvg(map, marked, {"Map " + name, ExtentLine(map, origin)})});
  std::printf("%s drawn to %s: %zu lines, %zu sites\n", file.c_str(), out.c_str(), map.lines.size(),
              sites.size());
  return 0;
}
}  // namespace

MapSubcommand MapPlotSubcommand() {
  return {"plot",
          "a picture of a map (SVG or PNG)",
          kHelp,
          "FILE.map",
          {{"--out", "FILE", false}, {"--sites", "FILE", false}, {"--at", "X,Y", true}},
          Run};
}

}  // namespace kavi::tool
