// The similarity transformation that takes map points from the file's own
// coordinate system into the calculation's: Cartesian (rotation, uniform
// scaling and translation fixed by two point pairs) or polar (distance and
// angle about an origin, with a scale and an angle offset).
#pragma once

namespace kavi::numerics {

struct MapTransformation {
  bool polar = false;
  float x1 = 0.0f, y1 = 0.0f;  // P1, in the file's system
  float x2 = 0.0f, y2 = 0.0f;  // Q1, its image (the origin of polar input)
  float scale = 1.0f;          // s
  float cosTheta = 1.0f;       // rotation θ (Cartesian)
  float sinTheta = 0.0f;
  float angleOffset = 0.0f;  // Δ in degrees (polar)
  float angleFactor = 1.0f;  // a5 (polar)

  // The calculation's (X, Y) of the file's point (p, q): Cartesian x and y, or
  // polar distance and angle in degrees counter-clockwise from the x axis.
  void Apply(float p, float q, float& X, float& Y) const {
    if (polar) {
      ApplyPolar(p, q, X, Y);
    } else {
      const float t = (p - x1) * scale;
      const float u = (q - y1) * scale;
      X = x2 + t * cosTheta - u * sinTheta;
      Y = y2 + t * sinTheta + u * cosTheta;
    }
  }

 private:
  void ApplyPolar(float p, float q, float& X, float& Y) const;
};

// Identity of the given coordinate system.
MapTransformation IdentityTransformation(bool polar);

// From P1 = (x1, y1) and Q1 = (x2, y2) in `first`, and P2 = (a1, a2), Q2 =
// (a3, a4) in `second`: P1 maps to Q1 and P2 to Q2. False when P1 = P2 or
// Q1 = Q2 (or the result is not finite).
bool CartesianTransformation(const float first[4], const float second[4], MapTransformation& t);

// From (x1, y1, x2, y2) in `first` and (a1, a2, a3, a4, a5) in `second`:
// scale a3 / a1, angle offset a4 − a2, angle factor a5, origin (x2, y2).
// False unless a1 > 0 and a3 > 0 (or when the result is not finite).
bool PolarTransformation(const float first[4], const float second[5], MapTransformation& t);

}  // namespace kavi::numerics
