#include <cmath>
#include <string>

#include "number_text.h"
#include "results_output.h"

namespace kavi::tool {

namespace {
// Full precision; an empty field for a value that is not a number.
std::string Field(double value) { return std::isfinite(value) ? ShortestText(value) : ""; }

void WriteRow(std::FILE* out, const SiteOutcome& site, const std::string& sector, double frequency,
              double weibullA, double weibullK, double powerDensity, double meanSpeed) {
  std::fprintf(out, "%s,%s,%s,%s,%s,%s,%s,%s,%s,%s", Field(site.x).c_str(), Field(site.y).c_str(),
               Field(site.height).c_str(), Field(site.elevation).c_str(), sector.c_str(),
               Field(frequency).c_str(), Field(weibullA).c_str(), Field(weibullK).c_str(),
               Field(powerDensity).c_str(), Field(meanSpeed).c_str());
}

// With a power curve: aep on every row, capacity_factor on the totals row only.
void WriteEnergy(std::FILE* out, bool energy, double aep, double capacityFactor) {
  if (energy) std::fprintf(out, ",%s,%s", Field(aep).c_str(), Field(capacityFactor).c_str());
  std::fprintf(out, "\n");
}
}  // namespace

void WriteResultsCsv(std::FILE* out, const std::vector<SiteOutcome>& sites) {
  const bool energy = !sites.empty() && sites.front().HasEnergyYield();
  std::fprintf(out,
               "x,y,height,elevation,sector,frequency,weibull_a,weibull_k,power_density,"
               "mean_speed%s\n",
               energy ? ",aep,capacity_factor" : "");
  for (const SiteOutcome& site : sites) {
    double totalFrequency = 0;
    for (std::size_t i = 0; i < site.sectors.size(); ++i) {
      const SectorOutcome& s = site.sectors[i];
      WriteRow(out, site, std::to_string(i + 1), s.frequency, s.weibullA, s.weibullK,
               s.powerDensity, s.meanSpeed);
      WriteEnergy(out, energy, s.aep, std::nan(""));
      totalFrequency += s.frequency;
    }
    // The totals row carries the sum of the sector frequencies.
    WriteRow(out, site, "all", totalFrequency, site.weibullA, site.weibullK, site.powerDensity,
             site.meanSpeed);
    WriteEnergy(out, energy, site.aep, site.capacityFactor);
  }
}

}  // namespace kavi::tool
