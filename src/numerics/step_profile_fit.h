// Least-squares fit of a piecewise-constant profile with few steps to a
// profile given as values on consecutive intervals. The roughness rose uses it
// to reduce the many roughness changes met along a sector to a handful.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

// The fitted profile: `changes` steps at positions position[0 … changes - 1]
// (increasing) and the values value[0 … changes] of the pieces between them.
struct StepProfile {
  int changes = 0;
  float position[kMaxRoughnessChanges] = {};
  float value[kMaxRoughnessChanges + 1] = {};
};

// Fits a step profile to knotCount knots: value v[i] holds on the interval
// that ends at position xi[i] (from the previous knot, or from 0), positions
// increasing. Knots closer to the previous kept one than single precision
// resolves are merged into it, in place: the arrays are overwritten with the
// kept knots. Without a step the spread of the values (length-weighted
// standard deviation) must reach `threshold`; then steps are inserted one at a
// time where they remove the most squared deviation, up to maxChanges (limited
// to 0 … kMaxRoughnessChanges), and the count with the smallest spread is kept.
// No knot at a positive position gives an empty profile (no change, value 0).
StepProfile FitStepProfile(float* xi, float* v, int knotCount, int maxChanges, float threshold);

}  // namespace kavi::numerics
