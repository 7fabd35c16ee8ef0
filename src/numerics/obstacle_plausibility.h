// What an obstacle read from the obstacles file must look like to be a shape
// near a site.
#pragma once

#include "numerics/obstacle_input.h"

namespace kavi::numerics {

constexpr float kMaxObstacleHeight = 1000.0f;  // m

// True for an obstacle of corner bearings a1, a2 (degrees, −360 … 720, which
// the shelter model brings into 0 … 360), corner distances r1, r2 (m, not
// negative), height h (m, above 0 and at most 1 km) and porosity (0 … 1).
// The depth is not judged: a negative depth is the file's way of leaving an
// obstacle out.
bool ObstacleIsPlausible(const Obstacle& o);

}  // namespace kavi::numerics
