// atlas: AtlasGenerator.CalculateAtlas.
#include <kavi/interfaces.h>

#include <cstdio>

#include "activation.h"
#include "command.h"
#include "configuration_access.h"
#include "error_report.h"
#include "failure_subject.h"
#include "file_options.h"
#include "map_origin.h"
#include "number_text.h"
#include "obstacle_file_check.h"
#include "output_checks.h"
#include "property_access.h"
#include "site_checks.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] atlas --map FILE --tab FILE --height M
                     --at X,Y --out FILE [--rose FILE] [--obstacles FILE]
                     [--set ID=VALUE ...]

Generates a wind atlas from the wind climate observed at a station: removes the
effects of the station's surroundings and writes the atlas file
(AtlasGenerator.CalculateAtlas).

Options:
  --map FILE        map of height contours and roughness-change lines (MapFile);
                    e.g. --map examples/site.map
  --tab FILE        observed wind climate of the station (TabFile);
                    e.g. --tab station.tab
  --height M        height of the measurement above ground in metres
                    (HeightAGL); e.g. --height 30
  --at X,Y          position of the station in map units (in the map's CRS
                    when the map records one); e.g. --at 1000,2000
  --out FILE        atlas file to write; e.g. --out station.lib
  --rose FILE       roughness rose file of the station, used instead of the
                    map's roughness (RoughnessRoseFile); e.g. --rose station.rrd
  --obstacles FILE  obstacles around the station (ObstaclesDataFile);
                    e.g. --obstacles station.obs
  --set ID=VALUE    puts a configuration parameter before the calculation;
                    repeatable; see 'kavicalc params'; e.g. --set STDH3=75
  --help            this help

Example:
  kavicalc atlas --map examples/site.map --tab examples/station.tab --height 10 \
                 --at -1000,0 --obstacles examples/station.obs --out station.lib
)";

int Run(const ToolEdition& edition, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string& map = RequiredFile(options, "--map");
  const std::string& tab = RequiredFile(options, "--tab");
  const double height = ParseHeight(options.Required("--height", "M"), command);
  const Position at = ParsePosition(options.Required("--at", "X,Y"), command);
  const std::string& out = RequiredFile(options, "--out");
  const std::string* rose = OptionalFile(options, "--rose");
  const std::string* obstacles = OptionalFile(options, "--obstacles");
  const std::vector<Setting> settings = ParseSettings(options.All("--set"), command);
  CheckOutputOptions(options, {"--map", "--tab", "--rose", "--obstacles"}, {"--out"});
  if (obstacles) CheckObstacleFile(*obstacles, command);

  using I = IKaviAtlasGenerator;
  const IID& iid = edition.ids->IKaviAtlasGenerator;
  const auto generator = Activate<I>(edition, "AtlasGenerator", iid);
  ApplySettings(ConfigurationOf(generator.get(), iid).get(), settings, *edition.ids,
                RegisteredProgId(edition, "AtlasGenerator"));
  PutText(generator.get(), &I::put_MapFile, map, iid);
  PutText(generator.get(), &I::put_TabFile, tab, iid);
  PutOptionalText(generator.get(), &I::put_RoughnessRoseFile, rose, iid);
  PutOptionalText(generator.get(), &I::put_ObstaclesDataFile, obstacles, iid);
  Check(generator->put_HeightAGL(height), generator.get(), iid);

  const Position local = MapOriginOf(map).ToLocal(at);
  const std::optional<MapArea> area = ReadMapArea(map, edition.mapCapacity);
  if (area)
    if (const auto warning = OffMapWarning(*area, local.x, local.y)) ReportWarning(*warning);
  std::vector<CalculationFile> files = {{CalculationFile::Role::kMap, map},
                                        {CalculationFile::Role::kClimate, tab}};
  if (rose) files.push_back({CalculationFile::Role::kRose, *rose});
  if (obstacles) files.push_back({CalculationFile::Role::kObstacles, *obstacles});
  files.push_back({CalculationFile::Role::kAtlasOut, out});
  try {
    Check(generator->CalculateAtlas(local.x, local.y, Bstr(out).get()), generator.get(), iid);
  } catch (const CallFailure& failure) {
    throw ExplainedFailure(failure, files, area, local, edition);
  }
  std::printf("Atlas of the station at %s,%s, %s m above ground, written to %s\n",
              ShortestText(at.x).c_str(), ShortestText(at.y).c_str(), ShortestText(height).c_str(),
              out.c_str());
  return 0;
}
}  // namespace

Command AtlasCommand() {
  return {"atlas",
          "generate a wind atlas from the wind climate observed at a station",
          kHelp,
          {{"--map", "FILE", false},
           {"--tab", "FILE", false},
           {"--height", "M", false},
           {"--at", "X,Y", false},
           {"--out", "FILE", false},
           {"--rose", "FILE", false},
           {"--obstacles", "FILE", false},
           {"--set", "ID=VALUE", true}},
          Run};
}

}  // namespace kavi::tool
