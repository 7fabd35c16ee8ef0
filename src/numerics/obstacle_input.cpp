#include "numerics/obstacle_input.h"

namespace kavi::numerics {

ObstacleInput& Obstacles() {
  static ObstacleInput obstacles;
  return obstacles;
}

}  // namespace kavi::numerics
