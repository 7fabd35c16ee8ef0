// climate: an observed wind climate file from a measured series or a ready
// frequency table, with a summary of the data and optionally a plot.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "binned_climate.h"
#include "call_failure.h"
#include "climate_plot.h"
#include "climate_summary_output.h"
#include "command.h"
#include "file_options.h"
#include "file_replace.h"
#include "frequency_table_reader.h"
#include "number_text.h"
#include "observed_climate_file.h"
#include "output_checks.h"
#include "series_reader.h"
#include "time_stamp.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"help(Usage: kavicalc climate --series FILE --speed COL --direction COL [--time COL]
                        [--skip-rows N] [--height M] [--latitude D --longitude D]
                        [--title TEXT] [--sectors N] [--bin-width M/S] [--calm M/S]
                        [--missing VALUE ...] [--from TIME --to TIME]
                        --out FILE.tab [--plot FILE.svg] [--format table|json]
       kavicalc climate --table FILE.csv [--skip-rows N] --height M ... --out FILE.tab

Makes the observed wind climate file that 'kavicalc atlas --tab' reads from a
measured time series (10-minute or hourly speed and direction) or from a ready
frequency table, and says how good the data were: records read, missing, out of
range and calm, the data recovery, and per direction sector the frequency, mean
speed, mean power density and a Weibull A and k fitted to the sector's speeds
by maximum likelihood. The atlas later fits the histogram in the file itself.

The series is delimited text (comma, semicolon or tab, found from the header)
with a header row. Directions are where the wind comes from, degrees clockwise
from north (0 and 360 are north). Missing values (empty, NA, NaN and each
--missing marker) and implausible ones (speed below 0 or above 100 m/s,
direction outside 0 ... 360) are dropped and counted. Calms (speed at or below
--calm; any speed 0) are spread over the first speed bin of every sector in
proportion to the sector frequencies. Sector 1 is centred on north.

Options:
  --series FILE     the measured series; e.g. --series mast.csv
  --speed COL       the speed column (m/s), by header name or by number from 1;
                    e.g. --speed "Wspd (m/s)" or --speed 4
  --direction COL   the direction column (degrees); e.g. --direction wdir
  --time COL        the time stamp column, for --from and --to and the period
                    reported (2024-03-01 12:00, 2024-03-01T12:00:00, 03/01/2024);
                    e.g. --time timestamp
  --skip-rows N     rows above the header row to pass over; e.g. --skip-rows 1
  --height M        height of the measurement above ground (m); needed unless
                    the speed column names it ("ws_80m"); e.g. --height 10
  --latitude D      latitude of the station in degrees (north positive); the
                    atlas uses it for the Coriolis parameter; e.g. --latitude 56.0
  --longitude D     longitude of the station in degrees; e.g. --longitude 8.3
  --title TEXT      first line of the file (default: the input's name)
  --sectors N       direction sectors, 1 to 36 (default 12); e.g. --sectors 16
  --bin-width M/S   width of the speed bins (default 1), up to the highest speed
                    seen; e.g. --bin-width 0.5
  --calm M/S        speeds at or below this are calms (default 0); e.g. --calm 0.5
  --missing VALUE   a further missing-value marker; repeatable;
                    e.g. --missing -999 --missing 9999
  --from TIME       use records at or after this time (needs --time);
                    e.g. --from 2020-01-01
  --to TIME         use records before this time (needs --time);
                    e.g. --to 2021-01-01
  --table FILE      a ready frequency table instead of a series: one row per
                    speed bin with its upper limit (first column, or the column
                    named "upper"; a "lower" column is checked), one column per
                    sector from north clockwise, optionally a row starting with
                    "calm" holding the calm count; e.g. --table freq.csv
  --out FILE        the observed wind climate file to write; e.g. --out mast.tab
  --plot FILE       an SVG picture: wind rose with speed classes and the speed
                    histogram with the fitted Weibull density; e.g. --plot mast.svg
  --format FORMAT   table (default) or json; e.g. --format json
  --help            this help

Examples:
  kavicalc climate --series tmy3.csv --skip-rows 1 --speed "Wspd (m/s)" \
                   --direction "Wdir (degrees)" --height 10 --latitude 36.1 \
                   --longitude -79.95 --out greensboro.tab --plot greensboro.svg
  kavicalc climate --series mast.csv --speed ws_80m --direction wd_78m --time time \
                   --missing -999 --from 2020-01-01 --to 2021-01-01 --out mast.tab
  kavicalc climate --table freq.csv --height 10 --latitude 36.1 --out station.tab
)help";

constexpr int kDefaultSectors = 12;
constexpr double kDefaultBinWidth = 1;

[[noreturn]] void Refuse(const std::string& message, const std::string& command) {
  throw UsageError(message, command);
}

double NumberOption(const ParsedOptions& options, const std::string& name, const char* what,
                    double lowest, double highest, bool lowestAllowed) {
  const std::string& text = *options.Find(name);
  const auto value = ParseNumber(text);
  if (!value || *value > highest || *value < lowest || (!lowestAllowed && *value == lowest))
    Refuse(name + " expects " + what + " (got '" + text + "')", options.command());
  return *value;
}

std::optional<double> OptionalNumber(const ParsedOptions& options, const std::string& name,
                                     const char* what, double lowest, double highest,
                                     bool lowestAllowed = true) {
  if (!options.Has(name)) return std::nullopt;
  return NumberOption(options, name, what, lowest, highest, lowestAllowed);
}

int SkipRows(const ParsedOptions& options) {
  const auto rows =
      OptionalNumber(options, "--skip-rows", "a whole number of rows, e.g. 1", 0, 1e6);
  if (rows && *rows != std::floor(*rows))
    Refuse("--skip-rows expects a whole number of rows, e.g. 1 (got '" +
               *options.Find("--skip-rows") + "')",
           options.command());
  return static_cast<int>(rows.value_or(0));
}

std::optional<std::int64_t> TimeOption(const ParsedOptions& options, const std::string& name) {
  const std::string* text = options.Find(name);
  if (!text) return std::nullopt;
  if (!options.Has("--time"))
    Refuse(name + " needs --time COL, the time stamp column", options.command());
  const auto seconds = ParseTimeStamp(*text);
  if (!seconds)
    Refuse(name + " expects a time such as 2020-01-01 or 2020-01-01 12:00 (got '" + *text + "')",
           options.command());
  return seconds;
}

// The options that only a series has.
void RefuseSeriesOptions(const ParsedOptions& options) {
  for (const char* name :
       {"--speed", "--direction", "--time", "--bin-width", "--calm", "--missing", "--from", "--to"})
    if (options.Has(name))
      Refuse(std::string(name) + " applies to --series; a --table brings its own bins and calms",
             options.command());
}

std::string DefaultTitle(const std::string& input) {
  return "Observed wind climate from " + std::filesystem::path(input).filename().string();
}

ClimateSummary FromSeries(const ParsedOptions& options, const std::string& input, int skipRows,
                          BinnedClimate& climate) {
  SeriesOptions series;
  series.path = input;
  series.speedColumn = options.Required("--speed", "COL");
  series.directionColumn = options.Required("--direction", "COL");
  if (const std::string* time = options.Find("--time")) series.timeColumn = *time;
  series.skipRows = skipRows;
  series.missing = options.All("--missing");
  series.from = TimeOption(options, "--from");
  series.to = TimeOption(options, "--to");
  if (series.from && series.to && *series.from >= *series.to)
    Refuse("--from must come before --to", options.command());
  const int sectors = options.Has("--sectors")
                          ? ParseSectorCount(*options.Find("--sectors"), options.command())
                          : kDefaultSectors;
  const double binWidth =
      OptionalNumber(options, "--bin-width", "a bin width in m/s greater than 0, e.g. 0.5", 0,
                     kHighestPlausibleSpeed, false)
          .value_or(kDefaultBinWidth);
  const double calm = OptionalNumber(options, "--calm", "a speed in m/s from 0, e.g. 0.5", 0,
                                     kHighestPlausibleSpeed)
                          .value_or(0);

  const SeriesRecords records = ReadSeries(series);
  climate = BinSamples(records.samples, sectors, binWidth, calm);
  ClimateSummary summary;
  summary.speedColumn = records.speedName;
  summary.directionColumn = records.directionName;
  summary.read = records.read;
  summary.outsidePeriod = records.outsidePeriod;
  summary.missing = records.missing;
  summary.outOfRange = records.outOfRange;
  summary.used = static_cast<std::int64_t>(records.samples.size());
  summary.calmLimit = calm;
  const std::int64_t inPeriod = records.read - records.outsidePeriod;
  summary.recovery = 100 * static_cast<double>(summary.used) / static_cast<double>(inPeriod);
  summary.firstTime = records.firstTime;
  summary.lastTime = records.lastTime;
  summary.statistics = SampleStatistics(records.samples, sectors, calm);
  summary.weibullFit = "maximum likelihood fit of the speeds above the calm limit";
  return summary;
}

ClimateSummary FromTable(const ParsedOptions& options, const std::string& input, int skipRows,
                         BinnedClimate& climate) {
  RefuseSeriesOptions(options);
  FrequencyTable table = ReadFrequencyTable(input, skipRows);
  if (options.Has("--sectors") &&
      ParseSectorCount(*options.Find("--sectors"), options.command()) != table.climate.sectors)
    Fail(E_FAIL, input + " has " + std::to_string(table.climate.sectors) +
                     " sector columns, not the " + *options.Find("--sectors") + " of --sectors");
  climate = std::move(table.climate);
  ClimateSummary summary;
  summary.fromTable = true;
  summary.read = static_cast<std::int64_t>(std::llround(climate.Total()));
  summary.used = summary.read;
  summary.statistics = TableStatistics(climate);
  summary.weibullFit =
      "maximum likelihood fit of the bin midpoints weighted by their counts, calms left out";
  return summary;
}

int Run(const ToolEdition&, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string* series = OptionalFile(options, "--series");
  const std::string* tableFile = OptionalFile(options, "--table");
  if (!series == !tableFile)
    Refuse("give either --series FILE (a measured series) or --table FILE (a frequency table)",
           command);
  const std::string& out = RequiredFile(options, "--out");
  const std::string* plot = OptionalFile(options, "--plot");
  CheckOutputOptions(options, {"--series", "--table"}, {"--out", "--plot"});
  const std::string format = ParseFormat(options.Find("--format"), {"table", "json"}, command);
  const int skipRows = SkipRows(options);
  const auto height =
      OptionalNumber(options, "--height", "a height above ground in metres greater than 0, e.g. 10",
                     0, 1e5, false);
  const auto latitude =
      OptionalNumber(options, "--latitude", "degrees from -90 to 90, e.g. 56.0", -90, 90);
  const auto longitude =
      OptionalNumber(options, "--longitude", "degrees from -180 to 360, e.g. 8.3", -180, 360);
  if (tableFile && !height)
    Refuse("--height M is needed: the atlas needs the height of the measurement", command);

  const std::string& input = series ? *series : *tableFile;
  BinnedClimate climate;
  ClimateSummary summary = series ? FromSeries(options, input, skipRows, climate)
                                  : FromTable(options, input, skipRows, climate);
  if (height) {
    summary.station.height = *height;
    summary.heightSource = "--height";
  } else if (const auto named = HeightNamedBy(summary.speedColumn)) {
    summary.station.height = *named;
    summary.heightSource = "named by the speed column '" + summary.speedColumn + "'";
  } else {
    Refuse(
        "--height M is needed: the atlas needs the height of the measurement, and the speed "
        "column '" +
            summary.speedColumn + "' does not name one",
        command);
  }
  summary.input = input;
  summary.out = out;
  summary.station.title = options.Has("--title") ? *options.Find("--title") : DefaultTitle(input);
  summary.station.latitude = latitude.value_or(0);
  summary.station.longitude = longitude.value_or(0);
  summary.sectors = climate.sectors;
  summary.upperLimits = climate.upperLimits;
  summary.frequencies = SectorFrequencies(climate);
  summary.calms = climate.calms;

  const std::string text = ObservedClimateText(summary.station, climate);
  const std::string picture = plot ? ClimateSvg(summary, climate) : std::string();
  ReplaceFile(out, text);
  if (plot) ReplaceFile(*plot, picture);
  if (!latitude)
    std::fprintf(stderr,
                 "kavicalc: warning: no --latitude given; latitude 0 is written, and the atlas "
                 "then uses its lowest latitude for the Coriolis parameter\n");
  if (format == "json") {
    WriteClimateSummaryJson(stdout, summary);
  } else {
    WriteClimateSummaryTable(stdout, summary);
  }
  return 0;
}
}  // namespace

Command ClimateCommand() {
  return {"climate",
          "make an observed wind climate file from a measured series or a frequency table",
          kHelp,
          {{"--series", "FILE", false},
           {"--table", "FILE", false},
           {"--speed", "COL", false},
           {"--direction", "COL", false},
           {"--time", "COL", false},
           {"--skip-rows", "N", false},
           {"--height", "M", false},
           {"--latitude", "D", false},
           {"--longitude", "D", false},
           {"--title", "TEXT", false},
           {"--sectors", "N", false},
           {"--bin-width", "M/S", false},
           {"--calm", "M/S", false},
           {"--missing", "VALUE", true},
           {"--from", "TIME", false},
           {"--to", "TIME", false},
           {"--out", "FILE", false},
           {"--plot", "FILE", false},
           {"--format", "FORMAT", false}},
          Run};
}

}  // namespace kavi::tool
