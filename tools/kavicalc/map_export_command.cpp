// map export: a map's lines as GeoJSON or GeoPackage features.
#include <kavi/abi.h>

#include <cstdio>

#include "call_failure.h"
#include "file_options.h"
#include "file_replace.h"
#include "gis/gdal_support.h"
#include "gis/map_export.h"
#include "map_origin.h"
#include "map_subcommand.h"
#include "output_checks.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc map export FILE.map --out FILE.geojson|FILE.gpkg

Writes the lines of a map, read as the engine reads it, as line features to
open in QGIS or any GIS: one feature a line with the fields kind (contour,
roughness or contour+roughness), elevation (m), z0_left and z0_right (m, the
roughness on the left and right walking from the first point to the last).
On a map that records a CRS and an origin the features are in that CRS's
own coordinates; otherwise in map coordinates with no CRS.

Options:
  --out FILE   GeoJSON (.geojson, .json) or GeoPackage (.gpkg), chosen by
               the extension; e.g. --out site.gpkg
  --help       this help

Examples:
  kavicalc map export site.map --out site.geojson
  kavicalc map export site.map --out site.gpkg
)";

int Run(const ToolEdition& edition, const std::string& file, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string& out = RequiredFile(options, "--out");
  const std::string driver = gis::ExportDriverFor(out);
  if (driver.empty())
    throw UsageError("--out needs a .geojson, .json or .gpkg file, e.g. --out site.geojson",
                     command);
  CheckOutputs({{"FILE.map", file}}, {{"--out", out}}, command);
  const gis::MapLines map = ReadSubcommandMap(edition, file, command);
  const MapOrigin origin = MapOriginOf(file);
  ReplaceFileWith(out, [&](const std::string& temporary) {
    try {
      gis::ExportMapLines(map, origin.reference(), temporary, driver);
    } catch (const gis::GisError& error) {
      throw CallFailure(E_FAIL, command, error.what());
    }
  });
  std::printf("%zu lines of %s written to %s (%s)\n", map.lines.size(), file.c_str(), out.c_str(),
              origin.Recorded() ? origin.reference()->crs.c_str() : "map coordinates, no CRS");
  return 0;
}
}  // namespace

MapSubcommand MapExportSubcommand() {
  return {"export",
          "a map's lines as GeoJSON or GeoPackage",
          kHelp,
          "FILE.map",
          {{"--out", "FILE", false}},
          Run};
}

}  // namespace kavi::tool
