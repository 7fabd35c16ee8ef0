// rose: RoughnessRoseGenerator.CalculateRoughnessRose.
#include <kavi/interfaces.h>

#include <cstdio>
#include <filesystem>

#include "activation.h"
#include "command.h"
#include "configuration_access.h"
#include "error_report.h"
#include "failure_subject.h"
#include "figure_files.h"
#include "file_options.h"
#include "file_replace.h"
#include "map_origin.h"
#include "number_text.h"
#include "output_checks.h"
#include "property_access.h"
#include "roughness_rose_file.h"
#include "roughness_rose_plot.h"
#include "site_checks.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] rose --map FILE --sectors N --at X,Y
                     --out FILE [--set ID=VALUE ...] [--plot FILE.svg]

Derives the roughness rose of a position from a map (per sector the roughness
at the site and the upwind roughness changes) and writes it to a roughness rose
file (RoughnessRoseGenerator.CalculateRoughnessRose).

Options:
  --map FILE        map of height contours and roughness-change lines (MapFile);
                    e.g. --map examples/site.map
  --sectors N       number of direction sectors, 1 to 36; e.g. --sectors 12
  --at X,Y          position in map units (in the map's CRS when the map
                    records one); e.g. --at 1000,2000
  --out FILE        roughness rose file to write; e.g. --out site.rrd
  --set ID=VALUE    puts a configuration parameter before the calculation;
                    repeatable; see 'kavicalc params'; e.g. --set MAXRC=7
  --plot FILE.svg   also draws the rose just written into an SVG image (a
                    name ending in .png writes a PNG image): per sector the
                    rings of roughness length out to each change, on a
                    distance scale; e.g. --plot site-rose.svg
  --help            this help

Examples:
  kavicalc rose --map examples/site.map --sectors 12 --at -1000,0 --out station.rrd
  kavicalc rose --map examples/site.map --sectors 36 --at -1000,0 --out station.rrd --plot rose.png
)";

int Run(const ToolEdition& edition, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string& map = RequiredFile(options, "--map");
  const int sectors = ParseSectorCount(options.Required("--sectors", "N"), command);
  const Position at = ParsePosition(options.Required("--at", "X,Y"), command);
  const std::string& out = RequiredFile(options, "--out");
  const std::vector<Setting> settings = ParseSettings(options.All("--set"), command);
  const std::string* plot = OptionalFile(options, "--plot");
  CheckOutputOptions(options, {"--map"}, {"--out", "--plot"});
  if (plot) CheckFigureName(*plot, "--plot", command);

  const IID& iid = edition.ids->IKaviRoughnessRoseGenerator;
  const auto generator =
      Activate<IKaviRoughnessRoseGenerator>(edition, "RoughnessRoseGenerator", iid);
  ApplySettings(ConfigurationOf(generator.get(), iid).get(), settings, *edition.ids,
                RegisteredProgId(edition, "RoughnessRoseGenerator"));
  PutText(generator.get(), &IKaviRoughnessRoseGenerator::put_MapFile, map, iid);
  const Position local = MapOriginOf(map).ToLocal(at);
  const std::optional<MapArea> area = ReadMapArea(map, edition.mapCapacity);
  if (area)
    if (const auto warning = OffMapWarning(*area, local.x, local.y)) ReportWarning(*warning);
  try {
    Check(generator->CalculateRoughnessRose(Bstr(out).get(), sectors, local.x, local.y),
          generator.get(), iid);
  } catch (const CallFailure& failure) {
    throw ExplainedFailure(
        failure, {{CalculationFile::Role::kMap, map}, {CalculationFile::Role::kRoseOut, out}}, area,
        local, edition);
  }
  std::printf("Roughness rose of %d sectors at %s,%s written to %s\n", sectors,
              ShortestText(at.x).c_str(), ShortestText(at.y).c_str(), out.c_str());
  if (plot) {
    // Drawn from the file as written, so that the picture shows what was saved.
    const RoughnessRose rose = ReadRoughnessRoseFile(out);
    WriteFigure(*plot, {RoughnessRoseSvg(rose, at.x, at.y,
                                         std::filesystem::path(out).filename().string())});
    std::printf("Plot of the roughness rose written to %s\n", plot->c_str());
  }
  return 0;
}
}  // namespace

Command RoseCommand() {
  return {"rose",
          "derive the roughness rose of a position from a map",
          kHelp,
          {{"--map", "FILE", false},
           {"--sectors", "N", false},
           {"--at", "X,Y", false},
           {"--out", "FILE", false},
           {"--set", "ID=VALUE", true},
           {"--plot", "FILE.svg", false}},
          Run};
}

}  // namespace kavi::tool
