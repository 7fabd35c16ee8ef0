#include "grid_output.h"

#include <algorithm>

namespace kavi::tool {

std::vector<std::pair<std::string, std::string>> GridProvenance::Items() const {
  std::vector<std::pair<std::string, std::string>> items = {
      {"source", program},
      {"map", map},
      {"crs", crs},
      {"atlas", atlas},
      {"roughness_rose", rose},
      {"obstacles", obstacles},
      {"parameters_set", parametersSet.empty() ? "none (all defaults)" : parametersSet},
      {"power_curve", powerCurve},
      {"air_density", airDensity}};
  items.erase(std::remove_if(items.begin(), items.end(),
                             [](const auto& item) { return item.second.empty(); }),
              items.end());
  return items;
}

bool GridFormatOf(const std::string& path, GridFormat& format) {
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos) return false;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (extension == "csv") {
    format = GridFormat::kCsv;
  } else if (extension == "nc") {
    format = GridFormat::kNetcdf;
  } else if (extension == "tif" || extension == "tiff") {
    format = GridFormat::kGeoTiff;
  } else {
    return false;
  }
  return true;
}

}  // namespace kavi::tool
