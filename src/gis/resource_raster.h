// Resource maps as GeoTIFF: one single-precision band per quantity, named,
// with its unit and NoData where a node has no value.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kavi::gis {

// A north-up grid of square cells; node (column, row) is the centre of its
// cell, row 0 in the north.
struct RasterGrid {
  std::size_t columns = 0;
  std::size_t rows = 0;
  double west = 0;   // x of the western edge of the first column
  double north = 0;  // y of the northern edge of the first row
  double cellSize = 0;
};

struct RasterBand {
  std::string description;  // the band's name, e.g. "mean_speed_80m"
  std::string units;        // e.g. "m/s"
  std::vector<std::pair<std::string, std::string>> metadata;  // further items of the band
  std::vector<float> values;  // rows × columns, row by row from the north; NaN: no value
};

class RasterWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// NoData value of the bands: NaN cells are written as this.
constexpr float kRasterNoData = -9999.0f;

// Writes a new GeoTIFF at path (deflate-compressed), with the coordinate
// reference given as WKT when it is not empty and the dataset metadata
// items. Throws RasterWriteError with GDAL's message on failure.
void WriteResourceRaster(const std::string& path, const RasterGrid& grid,
                         const std::vector<RasterBand>& bands, const std::string& crsWkt,
                         const std::vector<std::pair<std::string, std::string>>& metadata);

}  // namespace kavi::gis
