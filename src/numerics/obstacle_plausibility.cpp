#include "numerics/obstacle_plausibility.h"

namespace kavi::numerics {

namespace {
bool IsBearing(float a) { return a >= -360.0f && a <= 720.0f; }
}  // namespace

bool ObstacleIsPlausible(const Obstacle& o) {
  return IsBearing(o.a1) && IsBearing(o.a2) && o.r1 >= 0.0f && o.r2 >= 0.0f && o.h > 0.0f &&
         o.h <= kMaxObstacleHeight && o.porosity >= 0.0f && o.porosity <= 1.0f;
}

}  // namespace kavi::numerics
