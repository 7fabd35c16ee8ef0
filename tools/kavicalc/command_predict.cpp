// predict: AtlasUser.CalculateResults, once per site.
#include <kavi/interfaces.h>

#include <cstdio>
#include <filesystem>

#include "command.h"
#include "energy_options.h"
#include "file_options.h"
#include "file_replace.h"
#include "map_origin.h"
#include "obstacle_file_check.h"
#include "output_checks.h"
#include "results_output.h"
#include "site_calculations.h"
#include "site_list.h"
#include "usage_error.h"
#include "wind_rose_plot.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] predict --map FILE --atlas FILE
                     --height M (--at X,Y ... | --sites FILE) [--rose FILE]
                     [--obstacles FILE] [--set ID=VALUE ...]
                     [--format table|json|csv] [--plot FILE.svg]
                     [--power-curve FILE.csv [--air-density KG/M3]] [--jobs N]

Predicts the wind climate at one or more sites from a wind atlas: Weibull A and
k, frequency and power density per sector and for all sectors
(AtlasUser.CalculateResults, once per site).

Options:
  --map FILE        map of height contours and roughness-change lines (MapFile);
                    e.g. --map hill.map
  --atlas FILE      wind atlas file (AtlasFile); e.g. --atlas station.lib
  --height M        height above ground of the prediction in metres
                    (HeightAGL); e.g. --height 50
  --at X,Y          a site in map units (in the map's CRS when the map
                    records one); repeat for more sites;
                    e.g. --at 1000,2000 --at 1500,2500
  --sites FILE      the sites as CSV rows x,y[,height] (an optional first row
                    x,y[,height] names the columns; blank lines and lines
                    starting with # are skipped); a height on a row overrides
                    --height, which may be left out when every row has one;
                    e.g. --sites turbines.csv
  --rose FILE       roughness rose file, used instead of the map's roughness
                    (RoughnessRoseFile); e.g. --rose site.rrd
  --obstacles FILE  obstacles near the sites (ObstaclesDataFile);
                    e.g. --obstacles site.obs
  --set ID=VALUE    puts a configuration parameter before the calculation;
                    repeatable; see 'kavicalc params'; e.g. --set RDECAYL=20000
  --format FORMAT   table (default): one block per site with its sectors;
                    json: one document {"sites": [...]} at full precision;
                    csv: columns x,y,height,elevation,sector,frequency,
                    weibull_a,weibull_k,power_density,mean_speed (and
                    aep,capacity_factor with a power curve), one row per
                    site and sector plus a row with sector "all" for the
                    totals;
                    e.g. --format json
  --plot FILE.svg   also draws the wind rose of each site into an SVG image:
                    per sector the frequency (%) as wedge length and the
                    Weibull A (m/s) as colour and number; one panel per site,
                    at most the first 12 sites; e.g. --plot roses.svg
  --power-curve FILE.csv
                    adds the gross energy yield of a turbine with this power
                    curve: rows speed,power in m/s and kW (header optional),
                    power linear between the rows and zero outside them; the
                    annual energy production (aep, MWh per year of 8766 h)
                    per sector and in total, and the capacity factor;
                    e.g. --power-curve e101_3050kw.csv
  --air-density KG/M3
                    air density at the turbine; the curve's speeds are
                    multiplied by (1.225 / KG/M3)^(1/3), the usual correction
                    of a pitch-regulated turbine's curve measured in standard
                    air (1.225 kg/m³); e.g. --air-density 1.18
  --jobs N          sites calculated at once on N threads, each with its own
                    AtlasUser (default: all cores); the output is the same
                    whatever N, in the sites' order; e.g. --jobs 2
  --help            this help

Examples:
  kavicalc predict --map hill.map --atlas station.lib --height 50 --at 1000,2000
  kavicalc predict --map hill.map --atlas station.lib --sites turbines.csv --format csv
  kavicalc predict --map hill.map --atlas station.lib --sites turbines.csv --plot roses.svg
)";

// The sites from --at or --sites, each with its height.
std::vector<SiteSpec> Sites(const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::vector<std::string> positions = options.All("--at");
  const std::string* sitesFile = OptionalFile(options, "--sites");
  if (!positions.empty() && sitesFile)
    throw UsageError("give the sites either with --at or with --sites, not both", command);
  if (positions.empty() && !sitesFile)
    throw UsageError("missing the sites: --at X,Y (repeatable) or --sites FILE", command);

  std::vector<SiteSpec> sites;
  if (sitesFile) {
    sites = ReadSiteList(*sitesFile, command);
  } else {
    for (const std::string& text : positions) {
      const Position at = ParsePosition(text, command);
      sites.push_back({at.x, at.y, std::nullopt});
    }
  }
  const std::string* heightText = options.Find("--height");
  const std::optional<double> height =
      heightText ? std::optional<double>(ParseHeight(*heightText, command)) : std::nullopt;
  for (SiteSpec& site : sites) {
    if (!site.height && !height)
      throw UsageError(sitesFile ? "missing required option --height M (not every site in " +
                                       *sitesFile + " has a height)"
                                 : std::string("missing required option --height M"),
                       command);
    if (!site.height) site.height = height;
  }
  return sites;
}

int Run(const ToolEdition& edition, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string& map = RequiredFile(options, "--map");
  const std::string& atlas = RequiredFile(options, "--atlas");
  const std::string* rose = OptionalFile(options, "--rose");
  const std::string* obstacles = OptionalFile(options, "--obstacles");
  const std::vector<SiteSpec> sites = Sites(options);
  const std::vector<Setting> settings = ParseSettings(options.All("--set"), command);
  const std::string format =
      ParseFormat(options.Find("--format"), {"table", "json", "csv"}, command);
  const std::string* plot = OptionalFile(options, "--plot");
  CheckOutputOptions(options,
                     {"--map", "--atlas", "--rose", "--obstacles", "--sites", "--power-curve"},
                     {"--plot"});
  if (obstacles) CheckObstacleFile(*obstacles, command);

  const CalculationInputs inputs{map,
                                 atlas,
                                 rose ? std::optional<std::string>(*rose) : std::nullopt,
                                 obstacles ? std::optional<std::string>(*obstacles) : std::nullopt,
                                 settings,
                                 ReadEnergyOptions(options)};
  RunOptions run;
  run.jobs = ParseJobs(options.Find("--jobs"), command);
  run.stopAtFailure = true;
  run.progressWhat = "predicted sites";

  const MapOrigin origin = MapOriginOf(map);
  std::vector<SiteTask> tasks;
  for (const SiteSpec& site : sites) {
    const Position local = origin.ToLocal({site.x, site.y});
    tasks.push_back({local.x, local.y, *site.height});
  }
  std::vector<TaskOutcome> results(tasks.size());
  RunSiteCalculations(edition, inputs, tasks, run, [&](std::size_t index, TaskOutcome&& outcome) {
    results[index] = std::move(outcome);
  });
  // The first failure in the sites' order, as a run one site after the other
  // would have met it.
  std::vector<SiteOutcome> outcomes;
  for (std::size_t i = 0; i < results.size(); ++i) {
    TaskOutcome& result = results[i];
    if (result.failure) throw *result.failure;
    if (!result.result) break;
    outcomes.push_back(std::move(*result.result));
    if (origin.Recorded()) {  // reported as given, in the map's CRS
      outcomes.back().x = sites[i].x;
      outcomes.back().y = sites[i].y;
    }
  }
  if (format == "json") {
    WriteResultsJson(stdout, outcomes);
  } else if (format == "csv") {
    WriteResultsCsv(stdout, outcomes);
  } else {
    WriteResultsTable(stdout, outcomes);
  }
  if (plot)
    ReplaceFile(*plot, WindRoseSvg(outcomes, std::filesystem::path(atlas).filename().string()));
  return 0;
}
}  // namespace

Command PredictCommand() {
  return {"predict",
          "predict the wind climate at one or more sites from a wind atlas",
          kHelp,
          {{"--map", "FILE", false},
           {"--atlas", "FILE", false},
           {"--height", "M", false},
           {"--at", "X,Y", true},
           {"--sites", "FILE", false},
           {"--rose", "FILE", false},
           {"--obstacles", "FILE", false},
           {"--set", "ID=VALUE", true},
           {"--format", "FORMAT", false},
           {"--plot", "FILE.svg", false},
           {"--power-curve", "FILE.csv", false},
           {"--air-density", "KG/M3", false},
           {"--jobs", "N", false}},
          Run};
}

}  // namespace kavi::tool
