// The roughness classes by which the plots colour roughness lengths, from
// water to towns and tall forest.
#pragma once

#include <vector>

namespace kavi::tool {

struct RoughnessClass {
  double length;            // m; 0 for water
  const char* colour;       // "#rrggbb"
  const char* description;  // typical surface; may be empty
};

// The classes from the smoothest to the roughest.
const std::vector<RoughnessClass>& RoughnessClasses();

// The class nearest to z0 on a logarithmic scale; water below 0.0001 m,
// the roughest class above its length.
const RoughnessClass& RoughnessClassOf(double z0);

}  // namespace kavi::tool
