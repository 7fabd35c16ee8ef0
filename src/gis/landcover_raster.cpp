#include "gis/landcover_raster.h"

#include <gdal_utils.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "gis/gdal_support.h"

namespace kavi::gis {

namespace {

std::string Text(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.6f", value);
  return buffer;
}

template <typename Options, typename New, typename Free>
std::unique_ptr<Options, Free> UtilityOptions(const std::vector<std::string>& words, New make,
                                              Free free) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  return std::unique_ptr<Options, Free>(make(argv.data(), nullptr), free);
}

// The band alone, and that band on the map (the second reads through the first).
struct BandOnMap {
  DatasetPtr band;
  DatasetPtr onMap;
};

constexpr double kNoClass = -2147483647.0;

BandOnMap RasterOverArea(GDALDataset& source, int band, const MapFrame& frame,
                         const std::string& path, double& cell) {
  double t[6];
  source.GetGeoTransform(t);
  const OGRSpatialReference* own = source.GetSpatialRef();
  const bool sameCrs = !own || own->IsSame(frame.crs);
  cell = std::max(std::abs(t[1]), std::abs(t[5]));
  if (!sameCrs && own->IsGeographic()) cell *= 111320.0 * std::cos(std::abs(t[3]) * M_PI / 180.0);
  Bounds a = frame.area;
  const double margin = 2 * cell;
  a = {a.x0 - margin, a.y0 - margin, a.x1 + margin, a.y1 + margin};
  if (sameCrs) {  // keep the raster's own cells
    const double dx = std::abs(t[1]), dy = std::abs(t[5]);
    const double gx = t[0], gy = t[3];
    a.x0 = gx + std::floor((a.x0 - gx) / dx) * dx;
    a.x1 = gx + std::ceil((a.x1 - gx) / dx) * dx;
    a.y0 = gy + std::floor((a.y0 - gy) / dy) * dy;
    a.y1 = gy + std::ceil((a.y1 - gy) / dy) * dy;
  }
  BandOnMap result;
  int usageError = 0;
  auto pick =
      UtilityOptions<GDALTranslateOptions>({"-of", "VRT", "-b", std::to_string(band)},
                                           GDALTranslateOptionsNew, GDALTranslateOptionsFree);
  result.band.reset(GDALDataset::FromHandle(
      GDALTranslate("", GDALDataset::ToHandle(&source), pick.get(), &usageError)));
  if (!result.band)
    throw GisError(path + ": cannot read band " + std::to_string(band) + ": " +
                   LastGdalMessage("GDAL failed"));
  const double dx = sameCrs ? std::abs(t[1]) : cell, dy = sameCrs ? std::abs(t[5]) : cell;
  std::vector<std::string> words = {
      "-of",    "VRT",      "-r",       "near",     "-t_srs",     WktOf(*frame.crs),
      "-te",    Text(a.x0), Text(a.y0), Text(a.x1), Text(a.y1),   "-tr",
      Text(dx), Text(dy),   "-ot",      "Float64",  "-dstnodata", Text(kNoClass)};
  auto options =
      UtilityOptions<GDALWarpAppOptions>(words, GDALWarpAppOptionsNew, GDALWarpAppOptionsFree);
  GDALDatasetH input = GDALDataset::ToHandle(result.band.get());
  GDALDatasetH warped = GDALWarp("", nullptr, 1, &input, options.get(), &usageError);
  if (!warped)
    throw GisError(path +
                   ": cannot bring the land cover onto the map: " + LastGdalMessage("GDAL failed"));
  result.onMap.reset(GDALDataset::FromHandle(warped));
  return result;
}

// The z0 of each cell value, looked up once per value; nullopt-like NaN for
// cells without data.
class CellRoughness {
 public:
  CellRoughness(const LandCoverRequest& request, std::optional<double> defaultZ0)
      : request_(request), defaultZ0_(defaultZ0) {}
  double Of(double value) {
    const auto known = cache_.find(value);
    if (known != cache_.end()) return known->second;
    double z0 = std::nan("");
    if (value != kNoClass) {
      char text[40];
      std::snprintf(text, sizeof text, "%.17g", value);
      z0 = ClassZ0(*request_.classes, text,
                   request_.path + " band " + std::to_string(*request_.band));
    } else if (defaultZ0_) {
      z0 = *defaultZ0_;
    }
    cache_.emplace(value, z0);
    return z0;
  }

 private:
  const LandCoverRequest& request_;
  std::optional<double> defaultZ0_;
  std::map<double, double> cache_;
};

}  // namespace

std::vector<RoughnessLine> RasterBoundaries(const LandCoverRequest& request, const MapFrame& frame,
                                            BoundaryRequest boundaries, double& cellSize) {
  InitGdal();
  const std::string& path = request.path;
  DatasetPtr source(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!source)
    throw GisError(path + " is not a raster GDAL can read (" + LastGdalMessage("unknown format") +
                   ")");
  const int band = *request.band;
  if (band < 1 || band > source->GetRasterCount())
    throw GisError(path + " has no band " + std::to_string(band) + " (it has " +
                   std::to_string(source->GetRasterCount()) + ")");
  double t[6];
  if (source->GetGeoTransform(t) != CE_None)
    throw GisError(path + " has no georeferencing (no position of its cells)");
  const BandOnMap raster = RasterOverArea(*source, band, frame, path, cellSize);
  if (boundaries.tolerance < 0) boundaries.tolerance = 0.5 * cellSize;
  GDALRasterBand& cells = *raster.onMap->GetRasterBand(1);
  raster.onMap->GetGeoTransform(t);
  const int width = cells.GetXSize(), height = cells.GetYSize();
  const double ox = t[0] - frame.originX, oy = t[3] - frame.originY;
  auto X = [&](int column) { return ox + column * t[1]; };
  auto Y = [&](int row) { return oy + row * t[5]; };  // t[5] < 0: rows run south

  CellRoughness roughness(request, boundaries.defaultZ0);
  std::vector<double> row(width);
  std::vector<double> z0Above(width), z0Row(width);
  std::vector<BoundaryEdge> edges;
  auto uncovered = [&](double x, double y) {
    if (boundaries.area.Contains(x, y))
      UncoveredArea({x, y}, boundaries, frame.originX, frame.originY);
  };
  for (int r = 0; r < height; ++r) {
    if (cells.RasterIO(GF_Read, 0, r, width, 1, row.data(), width, 1, GDT_Float64, 0, 0) != CE_None)
      throw GisError(path + ": cannot read the land cover: " + LastGdalMessage("GDAL failed"));
    for (int c = 0; c < width; ++c) {
      z0Row[c] = roughness.Of(row[c]);
      if (std::isnan(z0Row[c])) uncovered(X(c) + 0.5 * t[1], Y(r) + 0.5 * t[5]);
    }
    for (int c = 0; c + 1 < width; ++c)  // west | east: walking north, west is on the left
      if (z0Row[c] != z0Row[c + 1])
        edges.push_back({{X(c + 1), Y(r + 1)}, {X(c + 1), Y(r)}, z0Row[c], z0Row[c + 1]});
    if (r > 0)
      for (int c = 0; c < width; ++c)  // north over south: walking east, north is on the left
        if (z0Above[c] != z0Row[c])
          edges.push_back({{X(c), Y(r)}, {X(c + 1), Y(r)}, z0Above[c], z0Row[c]});
    std::swap(z0Above, z0Row);
  }
  return JoinedBoundaries(std::move(edges), boundaries);
}

}  // namespace kavi::gis
