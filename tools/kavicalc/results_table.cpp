#include <string>

#include "number_text.h"
#include "results_output.h"
#include "text_table.h"

namespace kavi::tool {

namespace {
constexpr int kBearingDecimals = 1;
constexpr int kFrequencyDecimals = 2;
constexpr int kSpeedDecimals = 2;
constexpr int kShapeDecimals = 3;
constexpr int kPowerDecimals = 1;
constexpr int kElevationDecimals = 1;
constexpr int kEnergyDecimals = 1;
constexpr int kPercentDecimals = 1;

void WriteSite(std::FILE* out, std::size_t number, const SiteOutcome& site) {
  const std::string label = site.name.empty() ? "" : " (" + site.name + ")";
  std::fprintf(out, "Site %zu%s: x %s, y %s, height %s m, elevation %s m\n", number, label.c_str(),
               ShortestText(site.x).c_str(), ShortestText(site.y).c_str(),
               ShortestText(site.height).c_str(),
               FixedText(site.elevation, kElevationDecimals).c_str());
  std::fprintf(out, "All sectors: A %s m/s, k %s, power density %s W/m², mean speed %s m/s\n",
               FixedText(site.weibullA, kSpeedDecimals).c_str(),
               FixedText(site.weibullK, kShapeDecimals).c_str(),
               FixedText(site.powerDensity, kPowerDecimals).c_str(),
               FixedText(site.meanSpeed, kSpeedDecimals).c_str());
  const bool energy = site.HasEnergyYield();
  if (energy)
    std::fprintf(out, "Gross energy yield: %s MWh per year, capacity factor %s %%\n",
                 FixedText(site.aep, kEnergyDecimals).c_str(),
                 FixedText(100.0 * site.capacityFactor, kPercentDecimals).c_str());
  std::vector<TableRow> rows = {{"Sector", "Bearing (°)", "Frequency (%)", "A (m/s)", "k",
                                 "Power density (W/m²)", "Mean speed (m/s)"}};
  if (energy) rows.front().push_back("AEP (MWh/yr)");
  const std::size_t count = site.sectors.size();
  for (std::size_t i = 0; i < count; ++i) {
    const SectorOutcome& sector = site.sectors[i];
    rows.push_back({std::to_string(i + 1), FixedText(SectorBearing(i + 1, count), kBearingDecimals),
                    FixedText(sector.frequency, kFrequencyDecimals),
                    FixedText(sector.weibullA, kSpeedDecimals),
                    FixedText(sector.weibullK, kShapeDecimals),
                    FixedText(sector.powerDensity, kPowerDecimals),
                    FixedText(sector.meanSpeed, kSpeedDecimals)});
    if (energy) rows.back().push_back(FixedText(sector.aep, kEnergyDecimals));
  }
  WriteTable(out, rows, "  ", 0);
}
}  // namespace

void WriteResultsTable(std::FILE* out, const std::vector<SiteOutcome>& sites) {
  for (std::size_t i = 0; i < sites.size(); ++i) {
    if (i > 0) std::fprintf(out, "\n");
    WriteSite(out, i + 1, sites[i]);
  }
}

}  // namespace kavi::tool
