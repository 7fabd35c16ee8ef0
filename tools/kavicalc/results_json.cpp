#include "json_text.h"
#include "number_text.h"
#include "results_output.h"

namespace kavi::tool {

namespace {
void WriteSector(std::FILE* out, std::size_t number, std::size_t count, const SectorOutcome& sector,
                 bool energy) {
  std::fprintf(out,
               "{\"sector\": %zu, \"bearing\": %s, \"frequency\": %s, \"weibull_a\": %s, "
               "\"weibull_k\": %s, \"power_density\": %s, \"mean_speed\": %s",
               number, JsonReal(SectorBearing(number, count)).c_str(),
               EngineJson(sector.frequency).c_str(), EngineJson(sector.weibullA).c_str(),
               EngineJson(sector.weibullK).c_str(), EngineJson(sector.powerDensity).c_str(),
               JsonReal(sector.meanSpeed).c_str());
  if (energy) std::fprintf(out, ", \"aep\": %s", JsonReal(sector.aep).c_str());
  std::fprintf(out, "}");
}

std::string JsonStrings(const std::vector<std::string>& texts) {
  std::string list = "[";
  for (std::size_t i = 0; i < texts.size(); ++i)
    list += (i == 0 ? "" : ", ") + JsonString(texts[i]);
  return list + "]";
}

void WriteSite(std::FILE* out, const SiteOutcome& site) {
  std::fprintf(out, "  {");
  if (!site.name.empty()) std::fprintf(out, "\"name\": %s, ", JsonString(site.name).c_str());
  std::fprintf(out,
               "\"x\": %s, \"y\": %s, \"height\": %s, \"elevation\": %s,\n"
               "   \"weibull_a\": %s, \"weibull_k\": %s, \"power_density\": %s, "
               "\"mean_speed\": %s,\n",
               EngineJson(site.x).c_str(), EngineJson(site.y).c_str(),
               EngineJson(site.height).c_str(), EngineJson(site.elevation).c_str(),
               EngineJson(site.weibullA).c_str(), EngineJson(site.weibullK).c_str(),
               EngineJson(site.powerDensity).c_str(), JsonReal(site.meanSpeed).c_str());
  const bool energy = site.HasEnergyYield();
  if (energy)
    std::fprintf(out, "   \"aep\": %s, \"capacity_factor\": %s,\n", JsonReal(site.aep).c_str(),
                 JsonReal(site.capacityFactor).c_str());
  std::fprintf(out, "   \"warnings\": %s,\n   \"sectors\": [", JsonStrings(site.warnings).c_str());
  const std::size_t count = site.sectors.size();
  for (std::size_t i = 0; i < count; ++i) {
    std::fprintf(out, "%s", i == 0 ? "\n     " : ",\n     ");
    WriteSector(out, i + 1, count, site.sectors[i], energy);
  }
  std::fprintf(out, "]}");
}

void WriteFailure(std::FILE* out, const SiteFailure& failure) {
  std::fprintf(out, "  {\"site\": %zu, ", failure.number);
  if (!failure.name.empty()) std::fprintf(out, "\"name\": %s, ", JsonString(failure.name).c_str());
  std::fprintf(out, "\"x\": %s, \"y\": %s, \"height\": %s, \"error\": %s}",
               JsonReal(failure.x).c_str(), JsonReal(failure.y).c_str(),
               JsonReal(failure.height).c_str(), JsonString(failure.message).c_str());
}
}  // namespace

void WriteResultsJson(std::FILE* out, const std::vector<SiteOutcome>& sites,
                      const std::vector<SiteFailure>& failures) {
  std::fprintf(out, "{\"sites\": [");
  for (std::size_t i = 0; i < sites.size(); ++i) {
    std::fprintf(out, "%s", i == 0 ? "\n" : ",\n");
    WriteSite(out, sites[i]);
  }
  std::fprintf(out, "]");
  if (!failures.empty()) {
    std::fprintf(out, ",\n \"failures\": [");
    for (std::size_t i = 0; i < failures.size(); ++i) {
      std::fprintf(out, "%s", i == 0 ? "\n" : ",\n");
      WriteFailure(out, failures[i]);
    }
    std::fprintf(out, "]");
  }
  std::fprintf(out, "}\n");
}

}  // namespace kavi::tool
