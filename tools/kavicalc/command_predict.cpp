// predict: AtlasUser.CalculateResults, once per site.
#include <kavi/interfaces.h>

#include <cstdio>
#include <filesystem>

#include "activation.h"
#include "command.h"
#include "configuration_access.h"
#include "energy_options.h"
#include "error_report.h"
#include "failure_subject.h"
#include "figure_files.h"
#include "file_options.h"
#include "file_replace.h"
#include "map_origin.h"
#include "number_text.h"
#include "obstacle_file_check.h"
#include "output_checks.h"
#include "results_output.h"
#include "run_tool.h"
#include "site_calculations.h"
#include "site_checks.h"
#include "site_list.h"
#include "usage_error.h"
#include "wind_rose_plot.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] predict --map FILE --atlas FILE
                     --height M (--at X,Y ... | --sites FILE) [--rose FILE]
                     [--obstacles FILE] [--set ID=VALUE ...]
                     [--format table|json|csv] [--plot FILE.svg|FILE.png]
                     [--scale MIN,MAX] [--fail-fast]
                     [--power-curve FILE.csv [--air-density KG/M3]] [--jobs N]

Predicts the wind climate at one or more sites from a wind atlas: Weibull A and
k, frequency and power density per sector and for all sectors
(AtlasUser.CalculateResults, once per site).

Every site is accounted for: a site that fails is reported on standard error
with its position and the reason, the others are still calculated and
printed, and the exit status is then 1, after a count of the failures. Sites
off the map or near its edge, and heights outside the atlas's standard
heights (extrapolated results), are warned about on standard error (and
listed under "warnings" in JSON).

Options:
  --map FILE        map of height contours and roughness-change lines (MapFile);
                    e.g. --map examples/site.map
  --atlas FILE      wind atlas file (AtlasFile); e.g. --atlas examples/station.lib
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
                    e.g. --obstacles examples/station.obs
  --set ID=VALUE    puts a configuration parameter before the calculation;
                    repeatable; see 'kavicalc params'; e.g. --set RDECAYL=20000
  --format FORMAT   table (default): one block per site with its sectors;
                    json: one document {"sites": [...]} (and "failures": [...]
                    when sites failed), every number so that it reads back
                    exactly; csv: columns [name,]x,y,height,elevation,sector,
                    bearing,frequency,weibull_a,weibull_k,power_density,
                    mean_speed (and aep,capacity_factor with a power
                    curve), one row per site and sector plus a row with sector "all" for
                    the totals; e.g. --format json
  --plot FILE       also draws the wind rose of each site: per sector the
                    frequency (%) as wedge length and the Weibull A (m/s) as
                    colour and number; 12 sites to a page, every site drawn:
                    more than 12 sites make pages FILE-1.svg, FILE-2.svg, ...;
                    a name ending in .png writes PNG images instead of SVG;
                    where each page went is said on standard error;
                    e.g. --plot roses.svg
  --scale MIN,MAX   the range of the Weibull A colour scale in m/s (default
                    0,20, the same in every figure so that figures compare);
                    e.g. --scale 4,12
  --fail-fast       stops at the first site that fails, printing no results
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
  kavicalc predict --map examples/site.map --atlas examples/station.lib --height 80 --at 1500,1000
  kavicalc predict --map examples/site.map --atlas examples/station.lib --sites examples/turbines.csv --format csv
  kavicalc predict --map examples/site.map --atlas examples/station.lib --sites examples/turbines.csv --plot roses.png
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
      sites.push_back({at.x, at.y, std::nullopt, {}});
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

// "MIN,MAX" of --scale in m/s.
SpeedScale ParseSpeedScale(const std::string* text, const std::string& command) {
  if (!text) return {};
  const auto comma = text->find(',');
  if (comma != std::string::npos) {
    const auto lower = ParseNumber(std::string_view(*text).substr(0, comma));
    const auto upper = ParseNumber(std::string_view(*text).substr(comma + 1));
    if (lower && upper && *lower >= 0 && *upper > *lower) return {*lower, *upper};
  }
  throw UsageError(
      "--scale expects MIN,MAX in m/s with 0 <= MIN < MAX, e.g. --scale 4,12 (got '" + *text + "')",
      command);
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
  const SpeedScale scale = ParseSpeedScale(options.Find("--scale"), command);
  const bool failFast = options.Has("--fail-fast");
  CheckOutputOptions(options,
                     {"--map", "--atlas", "--rose", "--obstacles", "--sites", "--power-curve"},
                     {"--plot"});
  if (plot) CheckFigureName(*plot, "--plot", command);
  if (obstacles) CheckObstacleFile(*obstacles, command);

  std::vector<CalculationFile> files = {{CalculationFile::Role::kMap, map},
                                        {CalculationFile::Role::kAtlas, atlas}};
  if (rose) files.push_back({CalculationFile::Role::kRose, *rose});
  if (obstacles) files.push_back({CalculationFile::Role::kObstacles, *obstacles});

  const CalculationInputs inputs{map,
                                 atlas,
                                 rose ? std::optional<std::string>(*rose) : std::nullopt,
                                 obstacles ? std::optional<std::string>(*obstacles) : std::nullopt,
                                 settings,
                                 ReadEnergyOptions(options)};
  RunOptions run;
  run.jobs = ParseJobs(options.Find("--jobs"), command);
  run.stopAtFailure = failFast;
  run.progressWhat = "predicted sites";

  const MapOrigin origin = MapOriginOf(map);
  const std::optional<MapArea> area = ReadMapArea(map, edition.mapCapacity);
  const std::optional<HeightRange> heights = AtlasHeights(atlas);
  if (heights) {
    std::vector<double> all;
    for (const SiteSpec& site : sites) all.push_back(*site.height);
    if (const auto warning = ExtrapolationWarning(*heights, all, atlas)) ReportWarning(*warning);
  }

  std::vector<SiteTask> tasks;
  for (const SiteSpec& site : sites) {
    const Position local = origin.ToLocal({site.x, site.y});
    tasks.push_back({local.x, local.y, *site.height});
  }
  std::vector<TaskOutcome> results(tasks.size());
  RunSiteCalculations(edition, inputs, tasks, run, [&](std::size_t index, TaskOutcome&& outcome) {
    results[index] = std::move(outcome);
  });

  // Every site accounted for in the sites' order, whatever thread calculated it.
  std::vector<SiteOutcome> outcomes;
  std::vector<SiteFailure> failures;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    const SiteSpec& site = sites[i];
    TaskOutcome& result = results[i];
    // With --fail-fast the tasks after the first failure may not have run.
    if (!result.result && !result.failure) break;
    // Sites are named in messages by their name, or else by their number.
    const std::string label = site.name.empty() ? std::to_string(i + 1) : site.name;
    std::vector<std::string> warnings;
    const Position local = origin.ToLocal({site.x, site.y});
    if (area)
      if (const auto warning = OffMapWarning(*area, local.x, local.y, label)) {
        ReportWarning(*warning);
        warnings.push_back(*warning);
      }
    if (heights && Extrapolated(*heights, *site.height))
      warnings.push_back("height " + ShortestText(*site.height) +
                         " m outside the atlas's standard heights: extrapolated");
    if (result.failure) {
      const CallFailure& raw = *result.failure;
      const CallFailure failure = ExplainedFailure(raw, files, area, local, edition, label);
      // A failure that concerns one of the files fails every site alike.
      if (failFast || NameTheSubject(raw, files, edition).description() != raw.description())
        throw failure;
      ReportFailure(failure);
      failures.push_back({i + 1, site.name, site.x, site.y, *site.height, FailureText(failure)});
      continue;
    }
    outcomes.push_back(std::move(*result.result));
    outcomes.back().name = site.name;
    outcomes.back().warnings = warnings;
    if (origin.Recorded()) {  // reported as given, in the map's CRS
      outcomes.back().x = site.x;
      outcomes.back().y = site.y;
    }
  }
  if (format == "json") {
    WriteResultsJson(stdout, outcomes, failures);
  } else if (format == "csv") {
    WriteResultsCsv(stdout, outcomes);
  } else {
    WriteResultsTable(stdout, outcomes);
  }
  if (plot && !outcomes.empty()) {
    const std::vector<std::string> written = WriteFigure(
        *plot, WindRoseSvgPages(outcomes, std::filesystem::path(atlas).filename().string(), scale));
    const std::size_t perPage = kSitesPerPage;
    for (std::size_t page = 0; page < written.size(); ++page) {
      const std::size_t first = page * perPage + 1;
      const std::size_t last = std::min(outcomes.size(), first + perPage - 1);
      std::fprintf(stderr, "kavicalc: wind roses of site%s written to %s\n",
                   first == last
                       ? (" " + std::to_string(first)).c_str()
                       : ("s " + std::to_string(first) + " to " + std::to_string(last)).c_str(),
                   written[page].c_str());
    }
  }
  if (!failures.empty()) {
    std::fflush(stdout);
    std::fprintf(stderr, "kavicalc: %zu of %zu sites failed; the results of the others are given\n",
                 failures.size(), sites.size());
    return kExitFailure;
  }
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
           {"--scale", "MIN,MAX", false},
           {"--fail-fast", nullptr, false},
           {"--power-curve", "FILE.csv", false},
           {"--air-density", "KG/M3", false},
           {"--jobs", "N", false}},
          Run};
}

}  // namespace kavi::tool
