#include <gis/resource_raster.h>

#include <functional>

#include "call_failure.h"
#include "grid_output.h"
#include "number_text.h"

namespace kavi::tool {

namespace {
// GDAL's unit spelling for the band quantities.
std::string BandUnits(const QuantityInfo& info) {
  const std::string units = info.units;
  if (units == "m s-1") return "m/s";
  if (units == "W m-2") return "W/m2";
  if (units == "MW h year-1") return "MWh/year";
  return units == "1" ? "" : units;
}

// The node values as a north-up band: the rows of the grid from the north.
std::vector<float> NorthUp(const GridLayout& layout, const std::function<float(std::size_t)>& at) {
  std::vector<float> band;
  band.reserve(layout.NodeCount());
  for (std::size_t r = layout.rows; r-- > 0;)
    for (std::size_t c = 0; c < layout.columns; ++c) band.push_back(at(r * layout.columns + c));
  return band;
}
}  // namespace

// Bands: elevation, then for each height the node quantities, named
// QUANTITY_HEIGHTm ("mean_speed_80m"); the sector quantities are left to
// NetCDF.
void WriteGridGeoTiff(const std::string& path, const GridValues& values,
                      const GridProvenance& about) {
  const GridLayout& layout = values.layout();
  std::vector<gis::RasterBand> bands;
  const QuantityInfo& elevation = Info(NodeQuantity::kElevation);
  bands.push_back({elevation.name,
                   BandUnits(elevation),
                   {{"QUANTITY", elevation.name}},
                   NorthUp(layout, [&](std::size_t node) { return values.Elevation(node); })});
  for (std::size_t h = 0; h < values.heights().size(); ++h) {
    const std::string height = ShortestText(values.heights()[h]);
    for (std::size_t q = 1; q < kNodeQuantities; ++q) {
      const NodeQuantity quantity = NodeQuantity(q);
      const QuantityInfo& info = Info(quantity);
      if (info.energy && !about.energy) continue;
      bands.push_back(
          {std::string(info.name) + "_" + height + "m",
           BandUnits(info),
           {{"QUANTITY", info.name}, {"HEIGHT", height}},
           NorthUp(layout, [&](std::size_t node) { return values.At(quantity, h, node); })});
    }
  }
  const gis::RasterGrid grid{layout.columns, layout.rows, layout.x0 - layout.spacing / 2,
                             layout.Y(layout.rows - 1) + layout.spacing / 2, layout.spacing};
  try {
    gis::WriteResourceRaster(path, grid, bands, about.crsWkt, about.Items());
  } catch (const gis::RasterWriteError& error) {
    Fail(E_FAIL, error.what());
  }
}

}  // namespace kavi::tool
