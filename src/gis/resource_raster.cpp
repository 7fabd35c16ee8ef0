#include "resource_raster.h"

#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal_priv.h>

#include <cmath>
#include <memory>

namespace kavi::gis {

namespace {
std::string LastGdalMessage(const std::string& what) {
  const char* message = CPLGetLastErrorMsg();
  return what + (message && *message ? std::string(": ") + message : std::string());
}

struct DatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
}  // namespace

void WriteResourceRaster(const std::string& path, const RasterGrid& grid,
                         const std::vector<RasterBand>& bands, const std::string& crsWkt,
                         const std::vector<std::pair<std::string, std::string>>& metadata) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
  if (!driver) throw RasterWriteError("GDAL has no GeoTIFF driver");
  CPLStringList options;
  options.SetNameValue("COMPRESS", "DEFLATE");
  options.SetNameValue("PREDICTOR", "3");  // floating-point predictor
  options.SetNameValue("INTERLEAVE", "BAND");
  options.SetNameValue("BIGTIFF", "IF_SAFER");
  CPLErrorReset();
  std::unique_ptr<GDALDataset, DatasetCloser> dataset(
      driver->Create(path.c_str(), static_cast<int>(grid.columns), static_cast<int>(grid.rows),
                     static_cast<int>(bands.size()), GDT_Float32, options.List()));
  if (!dataset) throw RasterWriteError(LastGdalMessage("could not create " + path));

  double transform[6] = {grid.west, grid.cellSize, 0.0, grid.north, 0.0, -grid.cellSize};
  if (dataset->SetGeoTransform(transform) != CE_None)
    throw RasterWriteError(LastGdalMessage("could not set the grid of " + path));
  if (!crsWkt.empty() && dataset->SetProjection(crsWkt.c_str()) != CE_None)
    throw RasterWriteError(LastGdalMessage("could not set the coordinate reference of " + path));
  for (const auto& [name, value] : metadata) dataset->SetMetadataItem(name.c_str(), value.c_str());

  for (std::size_t b = 0; b < bands.size(); ++b) {
    const RasterBand& source = bands[b];
    if (source.values.size() != grid.columns * grid.rows)
      throw RasterWriteError("band " + source.description + " has the wrong number of values");
    GDALRasterBand* band = dataset->GetRasterBand(static_cast<int>(b + 1));
    band->SetDescription(source.description.c_str());
    band->SetUnitType(source.units.c_str());
    band->SetNoDataValue(kRasterNoData);
    for (const auto& [name, value] : source.metadata)
      band->SetMetadataItem(name.c_str(), value.c_str());
    std::vector<float> values = source.values;
    for (float& value : values)
      if (std::isnan(value)) value = kRasterNoData;
    if (band->RasterIO(GF_Write, 0, 0, static_cast<int>(grid.columns), static_cast<int>(grid.rows),
                       values.data(), static_cast<int>(grid.columns), static_cast<int>(grid.rows),
                       GDT_Float32, 0, 0) != CE_None)
      throw RasterWriteError(LastGdalMessage("could not write band " + source.description));
  }
  // A failure while flushing the last blocks is a failed write too.
  CPLErrorReset();
  dataset->FlushCache();
  dataset.reset();
  if (CPLGetLastErrorType() == CE_Failure)
    throw RasterWriteError(LastGdalMessage("could not write " + path));
}

}  // namespace kavi::gis
