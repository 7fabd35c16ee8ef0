// The obstacles as the obstacle reader leaves them: seven parallel arrays of at
// most 50 obstacles and the file's title.
#pragma once

namespace kavi::numerics {

constexpr int kMaxObstacles = 50;
constexpr int kObstacleTitleLength = 80;

// Obstacle i (0 … count - 1): the front face runs from corner 1 at bearing
// firstBearing[i] (degrees clockwise from north) and distance firstDistance[i] (m)
// to corner 2 at secondBearing[i], secondDistance[i]; height (m), depth away from
// the site (m) and porosity (0 solid … 1 fully open).
struct ObstacleInput {
  int count = 0;
  float firstBearing[kMaxObstacles] = {};
  float firstDistance[kMaxObstacles] = {};
  float secondBearing[kMaxObstacles] = {};
  float secondDistance[kMaxObstacles] = {};
  float height[kMaxObstacles] = {};
  float depth[kMaxObstacles] = {};
  float porosity[kMaxObstacles] = {};
  // The first 80 characters of the title line, blank-padded (80 blanks when the
  // file has no title line), then a terminating NUL.
  char title[kObstacleTitleLength + 1] = {};
};

}  // namespace kavi::numerics
