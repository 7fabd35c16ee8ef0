#include <cmath>
#include <string>

#include "number_text.h"
#include "results_output.h"

namespace kavi::tool {

namespace {
// Full precision; an empty field for a value that is not a number.
std::string Field(double value) { return std::isfinite(value) ? EngineText(value) : ""; }

// A text field, quoted when it holds a separator, a quote or a line break.
std::string TextField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Values the tool derives in double precision (sums, mean speeds, yields).
std::string DoubleField(double value) { return std::isfinite(value) ? ShortestText(value) : ""; }

// The climate columns of one row: a sector's, or the totals of all sectors.
struct RowClimate {
  std::string sector;  // its number, or "all"
  double bearing;      // NaN for the totals
  std::string frequency;
  double weibullA;
  double weibullK;
  double powerDensity;
  double meanSpeed;
};

void WriteRow(std::FILE* out, bool named, const SiteOutcome& site, const RowClimate& row) {
  if (named) std::fprintf(out, "%s,", TextField(site.name).c_str());
  std::fprintf(out, "%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s", Field(site.x).c_str(),
               Field(site.y).c_str(), Field(site.height).c_str(), Field(site.elevation).c_str(),
               row.sector.c_str(), DoubleField(row.bearing).c_str(), row.frequency.c_str(),
               Field(row.weibullA).c_str(), Field(row.weibullK).c_str(),
               Field(row.powerDensity).c_str(), DoubleField(row.meanSpeed).c_str());
}

// With a power curve: aep on every row, capacity_factor on the totals row only.
void WriteEnergy(std::FILE* out, bool energy, double aep, double capacityFactor) {
  if (energy)
    std::fprintf(out, ",%s,%s", DoubleField(aep).c_str(), DoubleField(capacityFactor).c_str());
  std::fprintf(out, "\n");
}
}  // namespace

void WriteResultsCsv(std::FILE* out, const std::vector<SiteOutcome>& sites) {
  bool named = false;
  for (const SiteOutcome& site : sites) named = named || !site.name.empty();
  const bool energy = !sites.empty() && sites.front().HasEnergyYield();
  std::fprintf(out,
               "%sx,y,height,elevation,sector,bearing,frequency,weibull_a,weibull_k,"
               "power_density,mean_speed%s\n",
               named ? "name," : "", energy ? ",aep,capacity_factor" : "");
  for (const SiteOutcome& site : sites) {
    double totalFrequency = 0;
    const std::size_t count = site.sectors.size();
    for (std::size_t i = 0; i < count; ++i) {
      const SectorOutcome& s = site.sectors[i];
      WriteRow(out, named, site,
               {std::to_string(i + 1), SectorBearing(i + 1, count), Field(s.frequency), s.weibullA,
                s.weibullK, s.powerDensity, s.meanSpeed});
      WriteEnergy(out, energy, s.aep, std::nan(""));
      totalFrequency += s.frequency;
    }
    // The totals row carries the sum of the sector frequencies, a double, and
    // no bearing.
    WriteRow(out, named, site,
             {"all", NAN, DoubleField(totalFrequency), site.weibullA, site.weibullK,
              site.powerDensity, site.meanSpeed});
    WriteEnergy(out, energy, site.aep, site.capacityFactor);
  }
}

}  // namespace kavi::tool
