#include "numerics/obstacle_plausibility.h"

namespace kavi::numerics {

namespace {
bool IsBearing(float a) { return a >= -360.0f && a <= 720.0f; }
}  // namespace

bool ObstacleIsPlausible(float a1, float r1, float a2, float r2, float h, float P) {
  return IsBearing(a1) && IsBearing(a2) && r1 >= 0.0f && r2 >= 0.0f && h > 0.0f &&
         h <= kMaxObstacleHeight && P >= 0.0f && P <= 1.0f;
}

}  // namespace kavi::numerics
