// The NetCDF-4 layout of a resource grid (README.md describes it for users):
// dimensions height, sector, y, x; coordinates x, y (map units), height (m),
// sector (number) with wind_from_direction (its centre bearing); elevation
// per node; the other quantities per height and node, the sector ones per
// height, sector and node; NoData as the _FillValue.
#include <netcdf.h>

#include <cmath>

#include "call_failure.h"
#include "energy_yield.h"
#include "grid_output.h"
#include "site_outcome.h"

namespace kavi::tool {

namespace {
constexpr float kFillValue = -9999.0f;
constexpr int kDeflateLevel = 4;

class NetcdfFile {
 public:
  explicit NetcdfFile(const std::string& path) : path_(path) {
    Check(nc_create(path.c_str(), NC_NETCDF4 | NC_NOCLOBBER, &id_), "could not create");
  }
  NetcdfFile(const NetcdfFile&) = delete;
  NetcdfFile& operator=(const NetcdfFile&) = delete;
  ~NetcdfFile() {
    if (id_ >= 0) nc_close(id_);
  }

  void Check(int status, const char* what) const {
    if (status != NC_NOERR)
      Fail(E_FAIL, std::string(what) + " " + path_ + ": " + nc_strerror(status));
  }
  int Dimension(const char* name, std::size_t length) {
    int dimension = -1;
    Check(nc_def_dim(id_, name, length, &dimension), "could not define the dimensions of");
    return dimension;
  }
  int Variable(const char* name, nc_type type, const std::vector<int>& dimensions) {
    int variable = -1;
    Check(nc_def_var(id_, name, type, static_cast<int>(dimensions.size()), dimensions.data(),
                     &variable),
          "could not define the variables of");
    return variable;
  }
  void Text(int variable, const char* name, const std::string& value) {
    Check(nc_put_att_text(id_, variable, name, value.size(), value.c_str()),
          "could not write the attributes of");
  }
  void Number(int variable, const char* name, double value) {
    Check(nc_put_att_double(id_, variable, name, NC_DOUBLE, 1, &value),
          "could not write the attributes of");
  }
  // A single-precision quantity, compressed, with its CF attributes.
  int Quantity(const QuantityInfo& info, const std::vector<int>& dimensions) {
    const int variable = Variable(info.name, NC_FLOAT, dimensions);
    Check(nc_def_var_deflate(id_, variable, 1, 1, kDeflateLevel), "could not define");
    Check(nc_def_var_fill(id_, variable, 0, &kFillValue), "could not define");
    Text(variable, "long_name", info.longName);
    Text(variable, "units", info.units);
    if (info.standardName) Text(variable, "standard_name", info.standardName);
    return variable;
  }
  void EndDefinitions() { Check(nc_enddef(id_), "could not write"); }
  void Put(int variable, const std::vector<float>& values) {
    Check(nc_put_var_float(id_, variable, values.data()), "could not write");
  }
  void Put(int variable, const std::vector<double>& values) {
    Check(nc_put_var_double(id_, variable, values.data()), "could not write");
  }
  void Put(int variable, const std::vector<int>& values) {
    Check(nc_put_var_int(id_, variable, values.data()), "could not write");
  }
  void Close() {
    const int id = id_;
    id_ = -1;
    Check(nc_close(id), "could not write");
  }
  int id() const { return id_; }

 private:
  std::string path_;
  int id_ = -1;
};

float Stored(float value) { return std::isnan(value) ? kFillValue : value; }
}  // namespace

void WriteGridNetcdf(const std::string& path, const GridValues& values,
                     const GridProvenance& about) {
  const GridLayout& layout = values.layout();
  const std::size_t heights = values.heights().size();
  const std::size_t sectors = values.sectors();
  const std::size_t nodes = values.NodeCount();
  NetcdfFile file(path);

  const int height = file.Dimension("height", heights);
  const int sector = file.Dimension("sector", sectors);
  const int y = file.Dimension("y", layout.rows);
  const int x = file.Dimension("x", layout.columns);

  const int xVar = file.Variable("x", NC_DOUBLE, {x});
  file.Text(xVar, "standard_name", "projection_x_coordinate");
  file.Text(xVar, "long_name", "x of the node, east in map coordinates");
  file.Text(xVar, "units", "m");
  const int yVar = file.Variable("y", NC_DOUBLE, {y});
  file.Text(yVar, "standard_name", "projection_y_coordinate");
  file.Text(yVar, "long_name", "y of the node, north in map coordinates");
  file.Text(yVar, "units", "m");
  const int heightVar = file.Variable("height", NC_DOUBLE, {height});
  file.Text(heightVar, "standard_name", "height");
  file.Text(heightVar, "long_name", "height above ground");
  file.Text(heightVar, "units", "m");
  file.Text(heightVar, "positive", "up");
  const int sectorVar = file.Variable("sector", NC_INT, {sector});
  file.Text(sectorVar, "long_name", "direction sector, 1 centred on north");
  const int directionVar = file.Variable("wind_from_direction", NC_DOUBLE, {sector});
  file.Text(directionVar, "standard_name", "wind_from_direction");
  file.Text(directionVar, "long_name", "centre bearing of the sector, clockwise from north");
  file.Text(directionVar, "units", "degree");

  std::vector<std::pair<NodeQuantity, int>> nodeVars;
  for (std::size_t q = 0; q < kNodeQuantities; ++q) {
    const NodeQuantity quantity = NodeQuantity(q);
    if (Info(quantity).energy && !about.energy) continue;
    const bool perNode = quantity == NodeQuantity::kElevation;
    nodeVars.push_back(
        {quantity, file.Quantity(Info(quantity), perNode ? std::vector<int>{y, x}
                                                         : std::vector<int>{height, y, x})});
  }
  std::vector<std::pair<SectorQuantity, int>> sectorVars;
  for (std::size_t q = 0; q < kSectorQuantities; ++q) {
    const SectorQuantity quantity = SectorQuantity(q);
    if (Info(quantity).energy && !about.energy) continue;
    sectorVars.push_back({quantity, file.Quantity(Info(quantity), {height, sector, y, x})});
  }

  // A map that records its CRS: the grid mapping by its WKT, which CF readers
  // and GDAL take, referred to by every quantity.
  if (!about.crsWkt.empty()) {
    const int crsVar = file.Variable("crs", NC_INT, {});
    file.Text(crsVar, "long_name", "coordinate reference of x and y: " + about.crs);
    file.Text(crsVar, "crs_wkt", about.crsWkt);
    file.Text(crsVar, "spatial_ref", about.crsWkt);
    for (const auto& [quantity, variable] : nodeVars) file.Text(variable, "grid_mapping", "crs");
    for (const auto& [quantity, variable] : sectorVars) file.Text(variable, "grid_mapping", "crs");
  }

  file.Text(NC_GLOBAL, "Conventions", "CF-1.8");
  file.Text(NC_GLOBAL, "title", "Predicted wind resource on a regular grid");
  for (const auto& [name, value] : about.Items()) file.Text(NC_GLOBAL, name.c_str(), value);
  if (about.energy) file.Number(NC_GLOBAL, "hours_per_year", kHoursPerYear);
  file.EndDefinitions();

  std::vector<double> xs(layout.columns), ys(layout.rows);
  for (std::size_t c = 0; c < layout.columns; ++c) xs[c] = layout.X(c);
  for (std::size_t r = 0; r < layout.rows; ++r) ys[r] = layout.Y(r);
  file.Put(xVar, xs);
  file.Put(yVar, ys);
  file.Put(heightVar, values.heights());
  std::vector<int> numbers(sectors);
  std::vector<double> bearings(sectors);
  for (std::size_t s = 0; s < sectors; ++s) {
    numbers[s] = static_cast<int>(s + 1);
    bearings[s] = SectorBearing(s + 1, sectors);
  }
  file.Put(sectorVar, numbers);
  file.Put(directionVar, bearings);

  std::vector<float> buffer;
  for (const auto& [quantity, variable] : nodeVars) {
    buffer.clear();
    if (quantity == NodeQuantity::kElevation) {
      for (std::size_t node = 0; node < nodes; ++node)
        buffer.push_back(Stored(values.Elevation(node)));
    } else {
      for (std::size_t h = 0; h < heights; ++h)
        for (std::size_t node = 0; node < nodes; ++node)
          buffer.push_back(Stored(values.At(quantity, h, node)));
    }
    file.Put(variable, buffer);
  }
  for (const auto& [quantity, variable] : sectorVars) {
    buffer.clear();
    for (std::size_t h = 0; h < heights; ++h)
      for (std::size_t s = 0; s < sectors; ++s)
        for (std::size_t node = 0; node < nodes; ++node)
          buffer.push_back(Stored(values.At(quantity, h, s, node)));
    file.Put(variable, buffer);
  }
  file.Close();
}

}  // namespace kavi::tool
