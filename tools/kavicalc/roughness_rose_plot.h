// A roughness rose drawn as an SVG image: per sector a wedge split into rings
// at the roughness changes, each ring coloured by its roughness class, on a
// distance scale that is linear near the site and logarithmic far out.
#pragma once

#include <string>

#include "roughness_rose_file.h"

namespace kavi::tool {

// The SVG document of rose at the site x, y (map units, metres); fileName
// names the rose's file in the figure's title block.
std::string RoughnessRoseSvg(const RoughnessRose& rose, double x, double y,
                             const std::string& fileName);

}  // namespace kavi::tool
