#include "gis/elevation_raster.h"

#include <gdal_utils.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kavi::gis {

namespace {

Bounds ExtentOf(GDALDataset& dataset) {
  double t[6];
  dataset.GetGeoTransform(t);
  const double xa = t[0], xb = t[0] + t[1] * dataset.GetRasterXSize();
  const double ya = t[3], yb = t[3] + t[5] * dataset.GetRasterYSize();
  return {std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)};
}

std::string Text(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  return buffer;
}

std::string BoundsText(const Bounds& b) {
  return Text(b.x0) + "," + Text(b.y0) + " to " + Text(b.x1) + "," + Text(b.y1);
}

// Runs one of GDAL's utilities that take command-line style options.
template <typename Options, typename New, typename Free>
std::unique_ptr<Options, Free> UtilityOptions(const std::vector<std::string>& words, New make,
                                              Free free) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  return std::unique_ptr<Options, Free>(make(argv.data(), nullptr), free);
}

DatasetPtr Warp(GDALDataset* source, std::vector<std::string> words, const std::string& path) {
  auto options =
      UtilityOptions<GDALWarpAppOptions>(words, GDALWarpAppOptionsNew, GDALWarpAppOptionsFree);
  GDALDatasetH input = GDALDataset::ToHandle(source);
  int usageError = 0;
  GDALDatasetH warped = GDALWarp("", nullptr, 1, &input, options.get(), &usageError);
  if (!warped)
    throw GisError(path + ": cannot reproject the raster: " + LastGdalMessage("GDAL failed"));
  return DatasetPtr(GDALDataset::FromHandle(warped));
}

DatasetPtr Translate(GDALDataset* source, const std::vector<std::string>& words,
                     const std::string& path) {
  auto options = UtilityOptions<GDALTranslateOptions>(words, GDALTranslateOptionsNew,
                                                      GDALTranslateOptionsFree);
  int usageError = 0;
  GDALDatasetH cut = GDALTranslate("", GDALDataset::ToHandle(source), options.get(), &usageError);
  if (!cut) throw GisError(path + ": cannot cut the raster: " + LastGdalMessage("GDAL failed"));
  return DatasetPtr(GDALDataset::FromHandle(cut));
}

// The UTM zone (WGS 84) of a position in degrees.
std::string UtmZoneOf(double longitude, double latitude) {
  int zone = static_cast<int>(std::floor((longitude + 180.0) / 6.0)) + 1;
  zone = std::clamp(zone, 1, 60);
  return "EPSG:" + std::to_string((latitude >= 0 ? 32600 : 32700) + zone);
}

// The requested area cut down to the raster's extent.
Bounds AreaWithin(const AreaRequest& area, const Bounds& extent, const std::string& path) {
  Bounds wanted = extent;
  if (area.centreX) {
    if (!extent.Contains(*area.centreX, *area.centreY))
      throw GisError(path + ": the centre " + Text(*area.centreX) + "," + Text(*area.centreY) +
                     " is outside the raster (" + BoundsText(extent) + ")");
    wanted = {*area.centreX - *area.radius, *area.centreY - *area.radius,
              *area.centreX + *area.radius, *area.centreY + *area.radius};
  } else if (area.bounds) {
    wanted = *area.bounds;
  }
  const Bounds cut = {std::max(wanted.x0, extent.x0), std::max(wanted.y0, extent.y0),
                      std::min(wanted.x1, extent.x1), std::min(wanted.y1, extent.y1)};
  if (cut.x0 >= cut.x1 || cut.y0 >= cut.y1)
    throw GisError(path + ": the area " + BoundsText(wanted) + " is outside the raster (" +
                   BoundsText(extent) + ")");
  return cut;
}

// One pass over the raster by strips of rows: height range, cells with data
// and the steepest slope between neighbouring cells.
void Survey(ElevationRaster& raster) {
  GDALRasterBand& band = *raster.band;
  const int width = band.GetXSize(), height = band.GetYSize();
  double t[6];
  raster.dataset->GetGeoTransform(t);
  const double dx = std::abs(t[1]), dy = std::abs(t[5]);
  raster.cellSize = std::max(dx, dy);
  const int strip = std::max(1, std::min(height, (1 << 20) / std::max(1, width)));
  std::vector<float> rows(static_cast<std::size_t>(width) * (strip + 1));
  std::vector<char> valid(rows.size());
  bool first = true;
  bool havePrevious = false;
  for (int y0 = 0; y0 < height; y0 += strip) {
    const int count = std::min(strip, height - y0);
    float* data = rows.data() + width;  // row 0 of the buffer keeps the strip's previous row
    if (band.RasterIO(GF_Read, 0, y0, width, count, data, width, count, GDT_Float32, 0, 0) !=
        CE_None)
      throw GisError(LastGdalMessage("cannot read the raster"));
    for (int r = 0; r < count; ++r) {
      for (int c = 0; c < width; ++c) {
        const std::size_t i = static_cast<std::size_t>(r + 1) * width + c;
        const float v = rows[i];
        valid[i] = std::isfinite(v) && !(raster.noData && v == static_cast<float>(*raster.noData));
        if (!valid[i]) continue;
        ++raster.cellsWithData;
        raster.minimum = first ? v : std::min<double>(raster.minimum, v);
        raster.maximum = first ? v : std::max<double>(raster.maximum, v);
        first = false;
        if (c > 0 && valid[i - 1])
          raster.steepestSlope = std::max(raster.steepestSlope, std::abs(v - rows[i - 1]) / dx);
        if ((r > 0 || havePrevious) && valid[i - width])
          raster.steepestSlope = std::max(raster.steepestSlope, std::abs(v - rows[i - width]) / dy);
      }
    }
    std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(count) * width, width, rows.begin());
    std::copy_n(valid.begin() + static_cast<std::ptrdiff_t>(count) * width, width, valid.begin());
    havePrevious = true;
  }
}

}  // namespace

ElevationRaster OpenElevationRaster(const ElevationRequest& request) {
  InitGdal();
  const std::string& path = request.path;
  ElevationRaster raster;
  raster.source.reset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!raster.source)
    throw GisError(path + " is not a raster GDAL can read (" + LastGdalMessage("unknown format") +
                   ")");
  if (raster.source->GetRasterCount() < 1) throw GisError(path + " has no raster band");
  double transform[6];
  if (raster.source->GetGeoTransform(transform) != CE_None)
    throw GisError(path + " has no georeferencing (no position of its cells)");

  const OGRSpatialReference* own = raster.source->GetSpatialRef();
  if (!own && !request.crs)
    throw GisError(path +
                   " has no coordinate reference system; give the one it is in with --crs EPSG:N");
  OGRSpatialReference sourceCrs = own ? *own : SpatialReferenceFrom(*request.crs, "--crs");
  sourceCrs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::string targetName;
  if (request.crs) {
    targetName = *request.crs;
  } else if (sourceCrs.IsGeographic()) {
    const Bounds e = ExtentOf(*raster.source);
    targetName = UtmZoneOf(e.CentreX(), e.CentreY());
  }
  raster.crs = targetName.empty() ? sourceCrs : SpatialReferenceFrom(targetName, "--crs");
  raster.crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  if (!raster.crs.IsProjected() || std::abs(raster.crs.GetLinearUnits() - 1.0) > 1e-9)
    throw GisError(path +
                   ": the map's CRS must be projected in metres; give one with --crs "
                   "EPSG:N (e.g. the UTM zone of the site)");
  raster.crsName = EpsgName(raster.crs);
  if (raster.crsName.empty())
    throw GisError(path +
                   ": its CRS has no EPSG code to record with the map; give it with "
                   "--crs EPSG:N");
  raster.reprojected = own && !raster.crs.IsSame(&sourceCrs);

  raster.noData = request.noData;
  int hasNoData = 0;
  const double ownNoData = raster.source->GetRasterBand(1)->GetNoDataValue(&hasNoData);
  if (!raster.noData && hasNoData) raster.noData = ownNoData;

  std::vector<std::string> common;
  if (raster.noData) common = {"-srcnodata", Text(*raster.noData)};
  if (raster.reprojected) {
    std::vector<std::string> words = {"-of",      "VRT", "-t_srs",  WktOf(raster.crs), "-r",
                                      "bilinear", "-ot", "Float32", "-dstnodata",      "-99999"};
    words.insert(words.end(), common.begin(), common.end());
    const DatasetPtr whole = Warp(raster.source.get(), words, path);
    const Bounds cut = AreaWithin(request.area, ExtentOf(*whole), path);
    words.insert(words.end(), {"-te", Text(cut.x0), Text(cut.y0), Text(cut.x1), Text(cut.y1)});
    raster.derived = Warp(raster.source.get(), words, path);
    raster.noData = -99999.0;
  } else {
    const Bounds whole = ExtentOf(*raster.source);
    const Bounds cut = AreaWithin(request.area, whole, path);
    std::vector<std::string> words = {"-of", "VRT", "-b", "1"};
    if (!own) words.insert(words.end(), {"-a_srs", WktOf(raster.crs)});
    if (raster.noData) words.insert(words.end(), {"-a_nodata", Text(*raster.noData)});
    if (cut.x0 != whole.x0 || cut.y0 != whole.y0 || cut.x1 != whole.x1 || cut.y1 != whole.y1)
      words.insert(words.end(),
                   {"-projwin", Text(cut.x0), Text(cut.y1), Text(cut.x1), Text(cut.y0)});
    raster.derived = Translate(raster.source.get(), words, path);
  }
  raster.dataset = raster.derived.get();
  raster.band = raster.dataset->GetRasterBand(1);
  raster.extent = ExtentOf(*raster.dataset);
  Survey(raster);
  if (raster.cellsWithData == 0)
    throw GisError(path + ": no cell of the raster holds a height (all no data)");
  return raster;
}

}  // namespace kavi::gis
