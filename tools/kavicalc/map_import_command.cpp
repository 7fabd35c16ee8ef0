// map import: an engine map from an elevation raster and a land cover.
#include <kavi/abi.h>

#include <cstdio>

#include "call_failure.h"
#include "file_options.h"
#include "file_replace.h"
#include "gis/map_import.h"
#include "map_subcommand.h"
#include "output_checks.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc map import --elevation FILE [--interval M] [--nodata V]
           [--landcover FILE (--z0-field NAME | --classes FILE.csv
                              [--class-field NAME | --band N]) [--default-z0 M]]
           [--around X,Y --radius M | --bounds X0,Y0,X1,Y1] [--crs EPSG:N]
           [--simplify M] --out FILE.map

Makes a map for the engine from GIS data: height contours of an elevation
raster (GDAL's contour generator) and roughness-change lines on the
boundaries of a land cover, each boundary once with the roughness on its left
and right. The map is in a metric CRS: the raster's own, the UTM zone of its
centre when the raster is in degrees, or the one --crs names. Positions are
written relative to a local origin (the area's centre in whole kilometres);
the title line records the CRS and the origin, and every command taking or
printing positions on this map (rose, atlas, predict, --sites) uses the CRS's
own coordinates. The map is refused, and not written, when it holds more
entries than the engine's map (500000 for Kavicalc, 1000000 for Kavibase).

Options:
  --elevation FILE   elevation raster GDAL reads (GeoTIFF, ASCII grid, SRTM
                     .hgt, ...), band 1, heights in metres; e.g. --elevation dem.tif
  --interval M       metres between contours; default: a round value giving
                     about 25 levels over the heights, printed; e.g. --interval 5
  --nodata V         a height that marks cells without data, besides the
                     raster's own no-data value (e.g. the zeros of an edge
                     fill); e.g. --nodata 0
  --landcover FILE   polygons OGR reads (GeoPackage, GeoJSON, shapefile, ...)
                     or, with --band, a classified raster; e.g. --landcover cover.gpkg
  --z0-field NAME    the polygons' field holding the roughness length in m;
                     e.g. --z0-field z0
  --classes FILE.csv class table: rows class,z0[,name], z0 in m (water 0);
                     e.g. --classes classes.csv
  --class-field NAME the polygons' field holding the class; e.g. --class-field code
  --band N           the raster band holding the classes; e.g. --band 4
  --default-z0 M     roughness length where no land cover lies; without it
                     such areas are refused; e.g. --default-z0 0.03
  --around X,Y       the centre of the area, in the map's CRS; with --radius
  --radius M         half the side of the square area around --around, m;
                     e.g. --around 345200,4817500 --radius 3000
  --bounds X0,Y0,X1,Y1  the area as a rectangle in the map's CRS;
                     e.g. --bounds 340000,4812000,350000,4822000
  --crs EPSG:N       the map's CRS (the raster is reprojected into it), or the
                     raster's own when it records none; e.g. --crs EPSG:32612
  --simplify M       thins the lines' vertices, keeping every line within M
                     metres; default for contours: a tenth of the interval in
                     height on the raster's steepest slope (at most one cell),
                     for a land-cover raster half a cell, for polygons none;
                     e.g. --simplify 2
  --out FILE.map     the map to write; e.g. --out site.map
  --help             this help

Examples:
  kavicalc map import --elevation big_butte.tif --interval 10 --out butte.map
  kavicalc map import --elevation srtm.hgt --around 512300,6230100 --radius 5000 \
                      --landcover cover.gpkg --z0-field z0 --default-z0 0.03 --out site.map
  kavicalc map import --elevation lcp.tif --landcover lcp.tif --band 4 \
                      --classes fuel_classes.csv --out montana.map
)";

double Number(const ParsedOptions& options, const char* name, const char* what) {
  const std::optional<double> value = ParseNumber(*options.Find(name));
  if (!value)
    throw UsageError(std::string(name) + " needs " + what + ", e.g. " + name + " 5",
                     options.command());
  return *value;
}

std::optional<double> Positive(const ParsedOptions& options, const char* name) {
  if (!options.Has(name)) return std::nullopt;
  const double value = Number(options, name, "a number of metres greater than 0");
  if (!(value > 0))
    throw UsageError(std::string(name) + " needs a number of metres greater than 0",
                     options.command());
  return value;
}

std::optional<double> NotNegative(const ParsedOptions& options, const char* name) {
  if (!options.Has(name)) return std::nullopt;
  const double value = Number(options, name, "a number of metres, 0 or more");
  if (value < 0)
    throw UsageError(std::string(name) + " needs a number of metres, 0 or more", options.command());
  return value;
}

gis::AreaRequest Area(const ParsedOptions& options) {
  const std::string& command = options.command();
  gis::AreaRequest area;
  if (options.Has("--bounds") && (options.Has("--around") || options.Has("--radius")))
    throw UsageError("give the area either with --around and --radius or with --bounds", command);
  if (options.Has("--around") != options.Has("--radius"))
    throw UsageError("--around X,Y and --radius M go together", command);
  if (options.Has("--around")) {
    const Position centre = ParsePosition(*options.Find("--around"), command);
    area.centreX = centre.x;
    area.centreY = centre.y;
    area.radius = Positive(options, "--radius");
  }
  if (const std::string* text = options.Find("--bounds")) {
    double v[4];
    std::size_t at = 0;
    for (int i = 0; i < 4; ++i) {
      const std::size_t comma = i < 3 ? text->find(',', at) : text->size();
      const std::optional<double> value =
          comma == std::string::npos ? std::nullopt : ParseNumber(text->substr(at, comma - at));
      if (!value || (i == 3 && text->find(',', at) != std::string::npos))
        throw UsageError("--bounds needs X0,Y0,X1,Y1, e.g. --bounds 340000,4812000,350000,4822000",
                         command);
      v[i] = *value;
      at = comma + 1;
    }
    if (!(v[0] < v[2] && v[1] < v[3]))
      throw UsageError("--bounds needs X0 < X1 and Y0 < Y1", command);
    area.bounds = gis::Bounds{v[0], v[1], v[2], v[3]};
  }
  return area;
}

std::optional<gis::LandCoverRequest> LandCover(const ParsedOptions& options,
                                               const gis::ClassTable*& classes,
                                               gis::ClassTable& table) {
  const std::string& command = options.command();
  const std::string* path = OptionalFile(options, "--landcover");
  for (const char* name : {"--z0-field", "--classes", "--class-field", "--band", "--default-z0"})
    if (!path && options.Has(name))
      throw UsageError(std::string(name) + " needs --landcover FILE", command);
  if (!path) return std::nullopt;
  gis::LandCoverRequest request;
  request.path = *path;
  if (options.Has("--z0-field") == options.Has("--classes"))
    throw UsageError("--landcover needs either --z0-field NAME or --classes FILE.csv", command);
  if (const std::string* field = options.Find("--z0-field")) {
    if (options.Has("--class-field") || options.Has("--band"))
      throw UsageError("--class-field and --band go with --classes, not with --z0-field", command);
    request.z0Field = *field;
    return request;
  }
  if (options.Has("--class-field") == options.Has("--band"))
    throw UsageError("--classes needs either --class-field NAME (polygons) or --band N (a raster)",
                     command);
  if (const std::string* field = options.Find("--class-field")) request.classField = *field;
  if (const std::string* band = options.Find("--band")) {
    const std::optional<double> n = ParseNumber(*band);
    if (!n || *n < 1 || *n != static_cast<int>(*n))
      throw UsageError("--band needs a band number from 1, e.g. --band 4", command);
    request.band = static_cast<int>(*n);
  }
  try {
    table = gis::ReadClassTable(*options.Find("--classes"));
  } catch (const gis::GisError& error) {
    throw CallFailure(E_FAIL, command, error.what());
  }
  classes = &table;
  request.classes = classes;
  return request;
}

std::string Text(double value, const char* format = "%.2f") {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

int Run(const ToolEdition& edition, const std::string&, const ParsedOptions& options) {
  const std::string& command = options.command();
  gis::ImportRequest request;
  request.elevation.path = RequiredFile(options, "--elevation");
  const std::string& out = RequiredFile(options, "--out");
  CheckOutputOptions(options, {"--elevation", "--landcover", "--classes"}, {"--out"});
  if (const std::string* crs = options.Find("--crs")) request.elevation.crs = *crs;
  if (options.Has("--nodata")) request.elevation.noData = Number(options, "--nodata", "a height");
  request.elevation.area = Area(options);
  request.interval = Positive(options, "--interval");
  request.simplify = NotNegative(options, "--simplify");
  request.defaultZ0 = NotNegative(options, "--default-z0");
  const gis::ClassTable* classes = nullptr;
  gis::ClassTable table;
  request.landCover = LandCover(options, classes, table);
  request.capacity = MapCapacity(edition);

  gis::ImportResult result;
  try {
    result = gis::ImportMap(request);
  } catch (const gis::GisError& error) {
    throw CallFailure(E_FAIL, command, error.what());
  }
  ReplaceFile(out, gis::MapText(result.map));
  const gis::Bounds& e = result.extent;
  std::printf(
      "Map written to %s: %zu contours every %s m%s, %zu roughness-change lines, %lld of %lld "
      "entries, extent %s,%s to %s,%s in %s (origin %s,%s), heights %s to %s m, thinned to %s m\n",
      out.c_str(), result.map.contours.size(), Text(result.interval, "%g").c_str(),
      result.intervalChosen ? " (chosen from the relief)" : "", result.map.roughnessLines.size(),
      result.map.EntryCount(), request.capacity, Text(e.x0).c_str(), Text(e.y0).c_str(),
      Text(e.x1).c_str(), Text(e.y1).c_str(), result.reference.crs.c_str(),
      Text(result.reference.originX, "%.0f").c_str(),
      Text(result.reference.originY, "%.0f").c_str(), Text(result.lowest).c_str(),
      Text(result.highest).c_str(), Text(result.tolerance, "%.3g").c_str());
  return 0;
}
}  // namespace

MapSubcommand MapImportSubcommand() {
  return {"import",
          "an engine map from an elevation raster and a land cover",
          kHelp,
          nullptr,
          {{"--elevation", "FILE", false},
           {"--interval", "M", false},
           {"--nodata", "V", false},
           {"--landcover", "FILE", false},
           {"--z0-field", "NAME", false},
           {"--classes", "FILE.csv", false},
           {"--class-field", "NAME", false},
           {"--band", "N", false},
           {"--default-z0", "M", false},
           {"--around", "X,Y", false},
           {"--radius", "M", false},
           {"--bounds", "X0,Y0,X1,Y1", false},
           {"--crs", "EPSG:N", false},
           {"--simplify", "M", false},
           {"--out", "FILE.map", false}},
          Run};
}

}  // namespace kavi::tool
