#include "climate_summary_output.h"

#include <string>

#include "json_text.h"
#include "number_text.h"
#include "site_outcome.h"
#include "text_table.h"

namespace kavi::tool {

namespace {
constexpr int kBearingDecimals = 1;
constexpr int kFrequencyDecimals = 2;
constexpr int kSpeedDecimals = 2;
constexpr int kShapeDecimals = 3;
constexpr int kPowerDecimals = 1;
constexpr int kShareDecimals = 1;

std::string Count(double count) { return FixedText(count, 0); }

TableRow StatisticsRow(std::string name, std::string bearing, double frequency,
                       const SpeedStatistics& s) {
  return {std::move(name),
          std::move(bearing),
          Count(s.count),
          FixedText(frequency, kFrequencyDecimals),
          FixedText(s.meanSpeed, kSpeedDecimals),
          FixedText(s.powerDensity, kPowerDecimals),
          s.weibull ? FixedText(s.weibull->A, kSpeedDecimals) : "-",
          s.weibull ? FixedText(s.weibull->k, kShapeDecimals) : "-"};
}

std::string JsonCount(double count) { return JsonReal(count); }

std::string JsonOptional(const std::optional<double>& value) {
  return value ? JsonReal(*value) : "null";
}

void WriteStatisticsJson(std::FILE* out, const SpeedStatistics& s, double frequency) {
  std::fprintf(out,
               "\"count\": %s, \"frequency\": %s, \"mean_speed\": %s, \"power_density\": %s, "
               "\"weibull_a\": %s, \"weibull_k\": %s}",
               JsonCount(s.count).c_str(), JsonReal(frequency).c_str(),
               JsonReal(s.meanSpeed).c_str(), JsonReal(s.powerDensity).c_str(),
               JsonOptional(s.weibull ? std::optional(s.weibull->A) : std::nullopt).c_str(),
               JsonOptional(s.weibull ? std::optional(s.weibull->k) : std::nullopt).c_str());
}
}  // namespace

void WriteClimateSummaryTable(std::FILE* out, const ClimateSummary& summary) {
  std::fprintf(out, "Observed wind climate of %zu sectors and %zu speed bins written to %s\n",
               summary.frequencies.size(), summary.upperLimits.size(), summary.out.c_str());
  std::fprintf(out, "Station: %s; latitude %s, longitude %s, height %s m (%s)\n",
               summary.station.title.c_str(), ShortestText(summary.station.latitude).c_str(),
               ShortestText(summary.station.longitude).c_str(),
               ShortestText(summary.station.height).c_str(), summary.heightSource.c_str());
  if (summary.fromTable) {
    std::fprintf(out, "Frequency table %s: %s observations, %s of them calm (%s %%)\n",
                 summary.input.c_str(), Count(static_cast<double>(summary.used)).c_str(),
                 Count(summary.calms).c_str(),
                 FixedText(summary.CalmShare(), kShareDecimals).c_str());
  } else {
    std::fprintf(out, "Series %s: speed '%s', direction '%s'\n", summary.input.c_str(),
                 summary.speedColumn.c_str(), summary.directionColumn.c_str());
    if (!summary.firstTime.empty())
      std::fprintf(out, "Records used from %s to %s\n", summary.firstTime.c_str(),
                   summary.lastTime.c_str());
    std::fprintf(out,
                 "Records: %lld read, %lld outside the period, %lld missing, %lld out of range, "
                 "%lld used, %s calm (speed at or below %s m/s)\n",
                 static_cast<long long>(summary.read),
                 static_cast<long long>(summary.outsidePeriod),
                 static_cast<long long>(summary.missing),
                 static_cast<long long>(summary.outOfRange), static_cast<long long>(summary.used),
                 Count(summary.calms).c_str(), ShortestText(summary.calmLimit).c_str());
    std::fprintf(out, "Data recovery %s %%, calms %s %% of the records used\n",
                 FixedText(summary.recovery.value_or(0), kShareDecimals).c_str(),
                 FixedText(summary.CalmShare(), kShareDecimals).c_str());
  }
  std::fprintf(out, "Weibull A and k: %s\n", summary.weibullFit.c_str());
  std::vector<TableRow> rows = {{"Sector", "Bearing (°)", "Count", "Frequency (%)",
                                 "Mean speed (m/s)", "Power density (W/m²)", "A (m/s)", "k"}};
  const std::size_t count = summary.frequencies.size();
  for (std::size_t i = 0; i < count; ++i)
    rows.push_back(StatisticsRow(std::to_string(i + 1),
                                 FixedText(SectorBearing(i + 1, count), kBearingDecimals),
                                 summary.frequencies[i], summary.statistics.sectors[i]));
  rows.push_back(StatisticsRow("all", "", 100, summary.statistics.all));
  WriteTable(out, rows, "  ", 1);
  std::fprintf(out, "(sector rows: records above the calm limit; all: every record used)\n");
}

void WriteClimateSummaryJson(std::FILE* out, const ClimateSummary& summary) {
  std::fprintf(out, "{\"file\": %s, \"input\": %s, \"input_kind\": \"%s\", \"title\": %s,\n",
               JsonString(summary.out).c_str(), JsonString(summary.input).c_str(),
               summary.fromTable ? "table" : "series", JsonString(summary.station.title).c_str());
  std::fprintf(
      out, " \"latitude\": %s, \"longitude\": %s, \"height\": %s, \"height_source\": %s,\n",
      JsonReal(summary.station.latitude).c_str(), JsonReal(summary.station.longitude).c_str(),
      JsonReal(summary.station.height).c_str(), JsonString(summary.heightSource).c_str());
  std::fprintf(out, " \"sector_count\": %zu, \"bins\": %zu, \"bin_upper_limits\": [",
               summary.frequencies.size(), summary.upperLimits.size());
  for (std::size_t b = 0; b < summary.upperLimits.size(); ++b)
    std::fprintf(out, "%s%s", b ? ", " : "", JsonReal(summary.upperLimits[b]).c_str());
  std::fprintf(out, "], \"calm_limit\": %s,\n", JsonReal(summary.calmLimit).c_str());
  std::fprintf(out,
               " \"records\": {\"read\": %lld, \"outside_period\": %lld, \"missing\": %lld, "
               "\"out_of_range\": %lld, \"used\": %lld, \"calm\": %s},\n",
               static_cast<long long>(summary.read), static_cast<long long>(summary.outsidePeriod),
               static_cast<long long>(summary.missing), static_cast<long long>(summary.outOfRange),
               static_cast<long long>(summary.used), JsonCount(summary.calms).c_str());
  std::fprintf(out, " \"data_recovery\": %s, \"calm_share\": %s,\n",
               JsonOptional(summary.recovery).c_str(), JsonReal(summary.CalmShare()).c_str());
  std::fprintf(out, " \"first_time\": %s, \"last_time\": %s,\n",
               summary.firstTime.empty() ? "null" : JsonString(summary.firstTime).c_str(),
               summary.lastTime.empty() ? "null" : JsonString(summary.lastTime).c_str());
  std::fprintf(out, " \"weibull_fit\": %s,\n \"all\": {", JsonString(summary.weibullFit).c_str());
  WriteStatisticsJson(out, summary.statistics.all, 100);
  std::fprintf(out, ",\n \"sectors\": [");
  const std::size_t count = summary.frequencies.size();
  for (std::size_t i = 0; i < count; ++i) {
    std::fprintf(out, "%s\n  {\"sector\": %zu, \"bearing\": %s, ", i ? "," : "", i + 1,
                 JsonReal(SectorBearing(i + 1, count)).c_str());
    WriteStatisticsJson(out, summary.statistics.sectors[i], summary.frequencies[i]);
  }
  std::fprintf(out, "]}\n");
}

}  // namespace kavi::tool
