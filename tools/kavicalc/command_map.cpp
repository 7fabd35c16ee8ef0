// map: maps from GIS data and back, dispatched to its subcommands.
#include <cstdio>

#include "call_failure.h"
#include "command.h"
#include "map_subcommand.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] map SUBCOMMAND ...

Maps from GIS data and back out to GIS tools and pictures:

  import   contours of an elevation raster and roughness-change lines of a
           land cover into a map for the engine
  export   a map's lines as GeoJSON or GeoPackage features
  plot     a picture of a map (SVG or PNG)
  info     counts, extent, heights, roughness lengths and CRS of a map

Each subcommand has its own help: kavicalc map SUBCOMMAND --help

Examples:
  kavicalc map import --elevation dem.tif --out site.map
  kavicalc map info site.map
  kavicalc map export site.map --out site.geojson
  kavicalc map plot site.map --out site.svg
)";

const std::vector<MapSubcommand>& Subcommands() {
  static const std::vector<MapSubcommand> subcommands = {
      MapImportSubcommand(), MapExportSubcommand(), MapPlotSubcommand(), MapInfoSubcommand()};
  return subcommands;
}

bool AsksForHelp(const std::vector<std::string>& words, std::size_t from) {
  for (std::size_t i = from; i < words.size(); ++i)
    if (words[i] == "--help" || words[i] == "-h") return true;
  return false;
}

int Run(const ToolEdition* edition, const std::vector<std::string>& words) {
  if (words.empty())
    throw UsageError("no map subcommand given (import, export, plot or info)", "map");
  if (words[0] == "--help" || words[0] == "-h") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  const MapSubcommand* sub = nullptr;
  for (const MapSubcommand& candidate : Subcommands())
    if (words[0] == candidate.name) sub = &candidate;
  if (!sub)
    throw UsageError("unknown map subcommand '" + words[0] +
                         "' (expected import, export, plot "
                         "or info)",
                     "map");
  const std::string command = std::string("map ") + sub->name;
  if (AsksForHelp(words, 1)) {
    std::fputs(sub->help, stdout);
    return 0;
  }
  std::size_t first = 1;
  std::string file;
  if (sub->fileWord) {
    if (words.size() < 2 || words[1].rfind("--", 0) == 0)
      throw UsageError(
          std::string("missing the map file: kavicalc ") + command + " " + sub->fileWord + " ...",
          command);
    file = words[1];
    first = 2;
  }
  std::vector<OptionSpec> specs = sub->options;
  specs.push_back({"--edition", "EDITION", false});
  const ParsedOptions options = ParseOptions(
      std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(first), words.end()),
      specs, command);
  if (const std::string* name = options.Find("--edition")) {
    const ToolEdition* chosen = FindEdition(*name);
    if (!chosen)
      throw UsageError("unknown edition '" + *name + "' (expected kavicalc or kavibase)", command);
    if (edition && edition != chosen)
      throw UsageError("--edition given twice with different editions", command);
    edition = chosen;
  }
  return sub->run(edition ? *edition : DefaultEdition(), file, options);
}
}  // namespace

int MapCapacity(const ToolEdition& edition) {
  return std::string(edition.option) == "kavibase" ? 1000000 : 500000;
}

gis::MapLines ReadSubcommandMap(const ToolEdition& edition, const std::string& file,
                                const std::string& command) {
  try {
    return gis::ReadMapLines(file, MapCapacity(edition));
  } catch (const gis::MapReadError& error) {
    throw CallFailure(E_FAIL, command, file + ": " + error.what());
  }
}

Command MapCommand() {
  Command command{
      "map", "make maps from GIS data, export, plot and describe them", kHelp, {}, nullptr};
  command.runWords = Run;
  return command;
}

}  // namespace kavi::tool
