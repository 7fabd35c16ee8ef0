// What a roughness rose read from a file must look like before it is used:
// roughness lengths a surface can have and change distances going outward.
#pragma once

#include <string>

#include "numerics/calculation_arrays.h"

namespace kavi::model {

// The largest roughness length a surface is given (m); tall forest and city
// centres stay below it.
constexpr float kMaxRoseRoughness = 10.0f;

// "" when the first nsec sectors of the rose are plausible, else what is
// wrong, e.g. "sector 3: roughness length -1 m outside 0 to 10 m". Checked:
// the c_i + 1 roughness lengths used (0 to 10 m) and the c_i change distances
// (not negative, strictly increasing outward) of each sector.
std::string RoseProblem(const numerics::RoughnessRose& rose, int nsec);

}  // namespace kavi::model
