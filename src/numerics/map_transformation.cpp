#include "numerics/map_transformation.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"

namespace kavi::numerics {

void MapTransformation::ApplyPolar(float p, float q, float& X, float& Y) const {
  const float r = scale * p;
  const float psi = (q + angleOffset) * angleFactor * kRadiansPerDegree;
  X = x2 + r * std::cos(psi);
  Y = y2 + r * std::sin(psi);
}

MapTransformation IdentityTransformation(bool polar) {
  MapTransformation t;
  t.polar = polar;
  return t;
}

bool CartesianTransformation(const float first[4], const float second[4], MapTransformation& t) {
  t = IdentityTransformation(false);
  t.x1 = first[0];
  t.y1 = first[1];
  t.x2 = first[2];
  t.y2 = first[3];
  // d1 runs from P1 to P2 in the file's system, d2 from Q1 to Q2 in ours.
  const float d1x = second[0] - t.x1;
  const float d1y = second[1] - t.y1;
  const float d2x = second[2] - t.x2;
  const float d2y = second[3] - t.y2;
  const float length1 = std::hypot(d1x, d1y);
  const float length2 = std::hypot(d2x, d2y);
  if (!(length1 > 0.0f && length2 > 0.0f)) return false;
  t.scale = length2 / length1;
  const float cosine = std::clamp((d1x * d2x + d1y * d2y) / (length1 * length2), -1.0f, 1.0f);
  float theta = std::acos(cosine);
  if (d1x * d2y - d1y * d2x < 0.0f) theta = -theta;
  t.cosTheta = std::cos(theta);
  t.sinTheta = std::sin(theta);
  return std::isfinite(t.scale) && t.scale > 0.0f && std::isfinite(t.cosTheta);
}

bool PolarTransformation(const float first[4], const float second[5], MapTransformation& t) {
  t = IdentityTransformation(true);
  t.x1 = first[0];
  t.y1 = first[1];
  t.x2 = first[2];
  t.y2 = first[3];
  const float a1 = second[0];
  const float a3 = second[2];
  if (!(a1 > 0.0f && a3 > 0.0f)) return false;
  t.scale = a3 / a1;
  t.angleOffset = second[3] - second[1];
  t.angleFactor = second[4];
  return std::isfinite(t.scale) && t.scale > 0.0f && std::isfinite(t.angleOffset);
}

}  // namespace kavi::numerics
