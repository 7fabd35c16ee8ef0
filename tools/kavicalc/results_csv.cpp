#include <cmath>
#include <string>

#include "number_text.h"
#include "results_output.h"

namespace kavi::tool {

namespace {
// Full precision; an empty field for a value that is not a number.
std::string Field(double value) { return std::isfinite(value) ? ShortestText(value) : ""; }

void WriteRow(std::FILE* out, const SiteOutcome& site, const std::string& sector, double frequency,
              double weibullA, double weibullK, double powerDensity) {
  std::fprintf(out, "%s,%s,%s,%s,%s,%s,%s,%s,%s\n", Field(site.x).c_str(), Field(site.y).c_str(),
               Field(site.height).c_str(), Field(site.elevation).c_str(), sector.c_str(),
               Field(frequency).c_str(), Field(weibullA).c_str(), Field(weibullK).c_str(),
               Field(powerDensity).c_str());
}
}  // namespace

void WriteResultsCsv(std::FILE* out, const std::vector<SiteOutcome>& sites) {
  std::fprintf(out, "x,y,height,elevation,sector,frequency,weibull_a,weibull_k,power_density\n");
  for (const SiteOutcome& site : sites) {
    double totalFrequency = 0;
    for (std::size_t i = 0; i < site.sectors.size(); ++i) {
      const SectorOutcome& s = site.sectors[i];
      WriteRow(out, site, std::to_string(i + 1), s.frequency, s.weibullA, s.weibullK,
               s.powerDensity);
      totalFrequency += s.frequency;
    }
    // The totals row carries the sum of the sector frequencies.
    WriteRow(out, site, "all", totalFrequency, site.weibullA, site.weibullK, site.powerDensity);
  }
}

}  // namespace kavi::tool
