// Reading back a roughness rose file: per sector the roughness lengths met
// going outward from the site and the distances of the changes between them.
#pragma once

#include <string>
#include <vector>

namespace kavi::tool {

struct RoseSector {
  std::vector<double> roughness;  // m, ring 0 at the site; one more than distances
  std::vector<double> distances;  // m from the site, of the change after each ring
};

struct RoughnessRose {
  std::vector<RoseSector> sectors;  // sector 1 (centred on north) first
};

// Reads the file; a file that cannot be read or does not hold a rose is a
// CallFailure "could not read the roughness rose FILE: REASON".
RoughnessRose ReadRoughnessRoseFile(const std::string& path);

}  // namespace kavi::tool
