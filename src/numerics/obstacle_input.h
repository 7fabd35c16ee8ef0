// The obstacles as the obstacle reader leaves them: at most 50 obstacles and the
// file's title.
#pragma once

namespace kavi::numerics {

constexpr int kMaxObstacles = 50;
constexpr int kObstacleTitleLength = 80;

// One obstacle, its values in the order of its record in the file: the front
// face runs from corner 1 at bearing a1 (degrees clockwise from north) and
// distance r1 (m) to corner 2 at a2, r2; then its height h (m), its depth away
// from the site (m) and its porosity (0 solid … 1 fully open).
struct Obstacle {
  float a1;
  float r1;
  float a2;
  float r2;
  float h;
  float depth;
  float porosity;
};

// Obstacles 0 … count - 1 in the order of the file.
struct ObstacleInput {
  int count = 0;
  Obstacle obstacles[kMaxObstacles] = {};
  // The first 80 characters of the title line, blank-padded (80 blanks when the
  // file has no title line), then a terminating NUL.
  char title[kObstacleTitleLength + 1] = {};
};

}  // namespace kavi::numerics
