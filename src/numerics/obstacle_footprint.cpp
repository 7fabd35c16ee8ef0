#include "numerics/obstacle_footprint.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavi::numerics {

namespace {

const float kDegree = std::atan(1.0f) / 45.0f;  // radians per degree

// Remainder with the sign of the dividend, as the bearing arithmetic uses it.
float Remainder360(float a) { return std::fmod(a, 360.0f); }

struct Point {
  float x, y;
};
Point Position(float bearing, float distance) {
  const float angle = (90.0f - bearing) * kDegree;
  return {distance * std::cos(angle), distance * std::sin(angle)};
}

}  // namespace

float NormaliseBearing(float bearing) {
  return Remainder360(Remainder360(bearing + 720.0f) + 720.0f);
}

bool MakeObstacleFootprint(float a1, float r1, float a2, float r2, float depth,
                           ObstacleFootprint& f) {
  a1 = NormaliseBearing(a1);
  a2 = NormaliseBearing(a2);
  if (r1 > r2) {
    std::swap(a1, a2);
    std::swap(r1, r2);
  }
  const Point p1 = Position(a1, r1);
  const Point p2 = Position(a2, r2);
  const float dx = p2.x - p1.x;
  const float dy = p2.y - p1.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length >= kMinFaceLength)) return false;

  f.x1 = p1.x;
  f.y1 = p1.y;
  f.x2 = p2.x;
  f.y2 = p2.y;
  f.t = -dy / length;
  f.u = dx / length;
  f.v = f.x1 * f.t + f.y1 * f.u;
  // The depth runs away from the site.
  const float delta = f.v >= 0.0f ? std::fabs(depth) : -std::fabs(depth);
  f.xb1 = f.x1 + delta * f.t;
  f.yb1 = f.y1 + delta * f.u;
  f.xb2 = f.x2 + delta * f.t;
  f.yb2 = f.y2 + delta * f.u;
  f.nearCorner = r1;
  const float rho1 = std::sqrt(f.xb1 * f.xb1 + f.yb1 * f.yb1);
  const float rho2 = std::sqrt(f.xb2 * f.xb2 + f.yb2 * f.yb2);
  f.farCorner = std::max(rho1, rho2);

  // Bearing range over corner 1, corner 2 and back corner 1 (back corner 2 never
  // widens it, since corner 1 is the nearer corner). Angles are taken relative
  // to corner 1 placed at 180 degrees so that the range never wraps.
  const float b = NormaliseBearing(450.0f - std::atan2(f.yb1, f.xb1) / kDegree);
  const float alpha2 = Remainder360(540.0f - a1 + a2);
  const float alphaB = Remainder360(540.0f - a1 + b);
  const float lowest = std::min({alpha2, 180.0f, alphaB});
  const float highest = std::max({alpha2, 180.0f, alphaB});
  f.start = Remainder360(lowest + 540.0f + a1);
  f.end = Remainder360(highest + 540.0f + a1);
  if (f.end < f.start) f.end += 360.0f;
  return true;
}

RayCrossing CastRay(const ObstacleFootprint& f, float bearing) {
  const float angle = (90.0f - bearing) * kDegree;
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  const float lambda = c * f.t + s * f.u;  // ray against the face normal
  const float mu = s * f.t - c * f.u;      // ray against the face direction, negated

  // Entry: the front face where the ray meets it between the corners, else the
  // side face through corner 1.
  const float q = (s * f.x1 - c * f.y1) / (c * (f.y2 - f.y1) - s * (f.x2 - f.x1));
  const float sideAtCorner1 = (f.yb1 * f.t - f.xb1 * f.u) / mu;
  RayCrossing crossing;
  crossing.nearDistance = q >= 0.0f && q <= 1.0f ? f.v / lambda : sideAtCorner1;

  // Exit: the nearest of the faces through which the ray leaves the rectangle,
  // the back face when the ray runs deeper into the obstacle and the side face
  // it turns towards. A thin obstacle is left where it is entered.
  const float n = crossing.nearDistance;
  float exit = std::numeric_limits<float>::infinity();
  if ((f.v >= 0.0f) == (lambda > 0.0f) && lambda != 0.0f) {
    exit = (f.xb2 * f.t + f.yb2 * f.u) / lambda;
  }
  if (mu > 0.0f) exit = std::min(exit, sideAtCorner1);
  if (mu < 0.0f) exit = std::min(exit, (f.y2 * f.t - f.x2 * f.u) / mu);
  crossing.farDistance = std::isfinite(exit) && exit > n ? exit : n;
  return crossing;
}

}  // namespace kavi::numerics
