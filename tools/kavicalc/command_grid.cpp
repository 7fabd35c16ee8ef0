// grid: AtlasUser.CalculateResults over a regular grid of nodes, in parallel.
#include <cstdio>
#include <filesystem>

#include "command.h"
#include "energy_options.h"
#include "error_report.h"
#include "file_options.h"
#include "file_replace.h"
#include "grid_failures.h"
#include "grid_output.h"
#include "map_origin.h"
#include "number_text.h"
#include "obstacle_file_check.h"
#include "output_checks.h"
#include "resource_map_plot.h"
#include "site_calculations.h"
#include "site_list.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] grid --map FILE --atlas FILE
                     --height M[,M...] (--bounds X0,Y0,X1,Y1 | --around X,Y --radius M)
                     --spacing M --out FILE.tif|FILE.nc|FILE.csv [--rose FILE]
                     [--obstacles FILE] [--set ID=VALUE ...] [--jobs N]
                     [--power-curve FILE.csv [--air-density KG/M3]]
                     [--plot FILE.svg [--sites FILE]]

Predicts the wind resource at every node of a regular grid and every height
(AtlasUser.CalculateResults at each node, on several threads at once): per
node and height the elevation, mean wind speed, power density, all-sector
Weibull A and k and per sector the frequency, A and k; with a power curve the
gross energy yield and capacity factor too.

Options:
  --map FILE        map of height contours and roughness-change lines (MapFile);
                    e.g. --map hill.map
  --atlas FILE      wind atlas file (AtlasFile); e.g. --atlas station.lib
  --height M[,M...] heights above ground in metres (HeightAGL), one or more;
                    e.g. --height 80 or --height 50,80,100
  --bounds X0,Y0,X1,Y1
                    the area: nodes from (X0, Y0) on every --spacing metres
                    as far as X1 and Y1; e.g. --bounds -2000,-1500,2000,1500
  --around X,Y      the square area of half-width --radius around X,Y;
                    e.g. --around 1000,2000 --radius 1500
  --radius M        half-width of the --around area in map units
  --spacing M       distance between neighbouring nodes in map units, at most
                    10,000,000 nodes in all; e.g. --spacing 50
  --out FILE        the results, format by extension: .tif GeoTIFF (one named
                    band per quantity and height, QUANTITY_HEIGHTm, NoData
                    -9999 at failed nodes; sector values only in the other
                    formats), .nc NetCDF-4 following the CF conventions
                    (dimensions height, sector, y, x), .csv one row per node
                    and height; e.g. --out resource.nc
  --rose FILE       roughness rose file used at every node instead of the
                    map's roughness (RoughnessRoseFile)
  --obstacles FILE  obstacles (ObstaclesDataFile), the same file at every node
  --set ID=VALUE    puts a configuration parameter before the calculations;
                    repeatable; see 'kavicalc params'
  --jobs N          nodes calculated at once on N threads, each with its own
                    AtlasUser (default: all cores); the output is the same
                    whatever N; e.g. --jobs 2
  --power-curve FILE.csv
                    adds aep (gross MWh per year of 8766 h) and
                    capacity_factor per node and sector_aep per sector for a
                    turbine with this power curve: rows speed,power in m/s and
                    kW, header optional; e.g. --power-curve e101_3050kw.csv
  --air-density KG/M3
                    air density at the turbines; the curve's speeds are
                    multiplied by (1.225 / KG/M3)^(1/3), the usual correction
                    of a pitch-regulated turbine's curve; e.g. --air-density 1.18
  --plot FILE.svg   also draws the mean wind speed at the first height as a
                    map: colour with a legend in m/s, the map's height
                    contours and roughness-change lines over it, the grid's
                    extent as a frame (grids of more than 250 nodes a side
                    are drawn with every n-th node); e.g. --plot resource.svg
  --sites FILE      sites to mark on the plot, CSV rows x,y[,height] as for
                    predict; e.g. --sites turbines.csv
  --help            this help

On a map that records a CRS (one made by 'kavicalc map import') the area is
given and the nodes are written in the CRS's own coordinates, and the
GeoTIFF and NetCDF outputs record the CRS.

A node that fails (for instance one that the map does not cover) gets no
values; the run goes on, the failures are counted by message and the first few
printed with their positions, and the exit status is 1.

Examples:
  kavicalc grid --map hill.map --atlas station.lib --height 80 \
                --bounds -2000,-1500,2000,1500 --spacing 100 --out resource.tif
  kavicalc grid --map hill.map --atlas station.lib --height 50,80 --around 0,0 \
                --radius 1000 --spacing 50 --power-curve e101.csv --out resource.nc
)";

// Drawing needs no more than the lines: the larger capacity of both editions
// reads every map either can calculate on.
constexpr int kDrawnMapCapacity = 1'000'000;

std::string Program(const ToolEdition& edition) {
  return std::string("kavicalc ") + edition.version + " (" + edition.name + ")";
}

std::string SettingsText(const std::vector<Setting>& settings) {
  std::string text;
  for (const Setting& setting : settings)
    text += (text.empty() ? "" : " ") + setting.id + "=" + setting.value;
  return text;
}

// The WKT of the CRS a map records, for the outputs; empty for a map in plain
// map coordinates.
std::string CrsWktOf(const MapOrigin& origin) {
  if (!origin.Recorded()) return "";
  try {
    return gis::CrsWkt(origin.reference()->crs);
  } catch (const std::exception& error) {
    Fail(E_FAIL, error.what());
  }
}

// The map's lines in the CRS's coordinates, where the plot draws the grid
// (single precision is ample for a picture).
void ShiftToCrs(gis::MapLines& lines, const MapOrigin& origin) {
  if (!origin.Recorded()) return;
  for (gis::MapLine& line : lines.lines)
    for (gis::MapPoint& point : line.points) {
      const Position crs = origin.ToCrs({point.x, point.y});
      point = {static_cast<float>(crs.x), static_cast<float>(crs.y)};
    }
}

int Run(const ToolEdition& edition, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string& map = RequiredFile(options, "--map");
  const std::string& atlas = RequiredFile(options, "--atlas");
  const std::string* rose = OptionalFile(options, "--rose");
  const std::string* obstacles = OptionalFile(options, "--obstacles");
  const std::string* heightText = options.Find("--height");
  if (!heightText) throw UsageError("missing required option --height M[,M...]", command);
  const std::vector<double> heights = ParseHeightList(*heightText, command);
  const GridLayout layout = ParseGridLayout(options);
  const std::string& out = RequiredFile(options, "--out");
  GridFormat format;
  if (!GridFormatOf(out, format))
    throw UsageError("--out expects a file name ending in .tif, .nc or .csv (got '" + out + "')",
                     command);
  const std::vector<Setting> settings = ParseSettings(options.All("--set"), command);
  const std::string* plot = OptionalFile(options, "--plot");
  const std::string* sitesFile = OptionalFile(options, "--sites");
  if (sitesFile && !plot) throw UsageError("--sites marks sites on the --plot FILE.svg", command);
  if (sitesFile) ReadSiteList(*sitesFile, command);  // refused before the calculations
  CheckOutputOptions(options,
                     {"--map", "--atlas", "--rose", "--obstacles", "--sites", "--power-curve"},
                     {"--out", "--plot"});
  if (obstacles) CheckObstacleFile(*obstacles, command);
  const CalculationInputs inputs{map,
                                 atlas,
                                 rose ? std::optional<std::string>(*rose) : std::nullopt,
                                 obstacles ? std::optional<std::string>(*obstacles) : std::nullopt,
                                 settings,
                                 ReadEnergyOptions(options)};
  RunOptions run;
  run.jobs = ParseJobs(options.Find("--jobs"), command);
  run.progressWhat = "grid calculations done:";

  // On a map that records a CRS the area is given, and the nodes reported, in
  // the CRS's coordinates; the engine calculates at the local positions.
  const MapOrigin origin = MapOriginOf(map);
  const std::string crsWkt = CrsWktOf(origin);
  std::vector<SiteTask> tasks;
  tasks.reserve(layout.NodeCount() * heights.size());
  for (std::size_t node = 0; node < layout.NodeCount(); ++node) {
    const Position local = origin.ToLocal({layout.NodeX(node), layout.NodeY(node)});
    for (const double height : heights) tasks.push_back({local.x, local.y, height});
  }

  GridValues values(layout, heights);
  GridFailures failures(tasks.size());
  RunSiteCalculations(edition, inputs, tasks, run, [&](std::size_t index, TaskOutcome&& outcome) {
    const std::size_t node = index / heights.size();
    const std::size_t h = index % heights.size();
    if (outcome.result && !values.Store(node, h, *outcome.result))
      outcome.failure = CallFailure(E_FAIL, "", "the node's result has another sector count");
    if (outcome.failure) failures.Record(index, *outcome.failure);
  });

  if (failures.Count() < tasks.size()) {
    GridProvenance about{Program(edition),
                         map,
                         atlas,
                         rose ? *rose : "",
                         obstacles ? *obstacles : "",
                         SettingsText(settings),
                         inputs.powerCurve ? *OptionalFile(options, "--power-curve") : "",
                         options.Find("--air-density") ? *options.Find("--air-density") : "",
                         inputs.powerCurve.has_value(),
                         origin.Recorded() ? origin.reference()->crs : "",
                         crsWkt};
    ReplaceFileWith(out, [&](const std::string& temporary) {
      if (format == GridFormat::kCsv) WriteGridCsv(temporary, values, about);
      if (format == GridFormat::kNetcdf) WriteGridNetcdf(temporary, values, about);
      if (format == GridFormat::kGeoTiff) WriteGridGeoTiff(temporary, values, about);
    });
  }
  if (plot && failures.Count() < tasks.size()) {
    const std::vector<SiteSpec> marked =
        sitesFile ? ReadSiteList(*sitesFile, command) : std::vector<SiteSpec>{};
    gis::MapLines lines;
    try {
      lines = gis::ReadMapLines(map, kDrawnMapCapacity);
    } catch (const gis::MapReadError& error) {
      std::fprintf(stderr, "kavicalc: the plot shows no map lines: %s\n", error.what());
    }
    ShiftToCrs(lines, origin);
    ReplaceFile(*plot, ResourceMapSvg(values, lines, marked,
                                      std::filesystem::path(map).filename().string() + ", " +
                                          std::filesystem::path(atlas).filename().string()));
  }
  if (failures.Count() == 0) return 0;
  // The failures are reported at the positions the user gave.
  for (std::size_t i = 0; origin.Recorded() && i < tasks.size(); ++i) {
    const Position crs = origin.ToCrs({tasks[i].x, tasks[i].y});
    tasks[i].x = crs.x;
    tasks[i].y = crs.y;
  }
  failures.Report(stderr, tasks, out, failures.Count() < tasks.size());
  return 1;
}
}  // namespace

Command GridCommand() {
  return {"grid",
          "predict the wind resource over a regular grid of nodes, in parallel",
          kHelp,
          {{"--map", "FILE", false},
           {"--atlas", "FILE", false},
           {"--height", "M[,M...]", false},
           {"--bounds", "X0,Y0,X1,Y1", false},
           {"--around", "X,Y", false},
           {"--radius", "M", false},
           {"--spacing", "M", false},
           {"--out", "FILE", false},
           {"--rose", "FILE", false},
           {"--obstacles", "FILE", false},
           {"--set", "ID=VALUE", true},
           {"--jobs", "N", false},
           {"--power-curve", "FILE.csv", false},
           {"--air-density", "KG/M3", false},
           {"--plot", "FILE.svg", false},
           {"--sites", "FILE", false}},
          Run};
}

}  // namespace kavi::tool
