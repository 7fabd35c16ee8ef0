#include "number_text.h"
#include "results_output.h"

namespace kavi::tool {

namespace {
void WriteSector(std::FILE* out, std::size_t number, const SectorOutcome& sector, bool energy) {
  std::fprintf(out,
               "{\"sector\": %zu, \"frequency\": %s, \"weibull_a\": %s, \"weibull_k\": %s, "
               "\"power_density\": %s, \"mean_speed\": %s",
               number, JsonReal(sector.frequency).c_str(), JsonReal(sector.weibullA).c_str(),
               JsonReal(sector.weibullK).c_str(), JsonReal(sector.powerDensity).c_str(),
               JsonReal(sector.meanSpeed).c_str());
  if (energy) std::fprintf(out, ", \"aep\": %s", JsonReal(sector.aep).c_str());
  std::fprintf(out, "}");
}

void WriteSite(std::FILE* out, const SiteOutcome& site) {
  std::fprintf(
      out,
      "  {\"x\": %s, \"y\": %s, \"height\": %s, \"elevation\": %s,\n"
      "   \"weibull_a\": %s, \"weibull_k\": %s, \"power_density\": %s, \"mean_speed\": %s,\n",
      JsonReal(site.x).c_str(), JsonReal(site.y).c_str(), JsonReal(site.height).c_str(),
      JsonReal(site.elevation).c_str(), JsonReal(site.weibullA).c_str(),
      JsonReal(site.weibullK).c_str(), JsonReal(site.powerDensity).c_str(),
      JsonReal(site.meanSpeed).c_str());
  const bool energy = site.HasEnergyYield();
  if (energy)
    std::fprintf(out, "   \"aep\": %s, \"capacity_factor\": %s,\n", JsonReal(site.aep).c_str(),
                 JsonReal(site.capacityFactor).c_str());
  std::fprintf(out, "   \"sectors\": [");
  for (std::size_t i = 0; i < site.sectors.size(); ++i) {
    std::fprintf(out, "%s", i == 0 ? "\n     " : ",\n     ");
    WriteSector(out, i + 1, site.sectors[i], energy);
  }
  std::fprintf(out, "]}");
}
}  // namespace

void WriteResultsJson(std::FILE* out, const std::vector<SiteOutcome>& sites) {
  std::fprintf(out, "{\"sites\": [");
  for (std::size_t i = 0; i < sites.size(); ++i) {
    std::fprintf(out, "%s", i == 0 ? "\n" : ",\n");
    WriteSite(out, sites[i]);
  }
  std::fprintf(out, "]}\n");
}

}  // namespace kavi::tool
