// The standard roughness classes and heights of the atlas that bracket a
// site's value, and the logarithmic weight between them, by which the
// prediction interpolates the atlas.
#pragma once

namespace kavi::numerics {

// The pair of neighbouring entries of the increasing table[0 … count − 1]
// that brackets value (0-based): upper is the first entry not below value
// (the last entry if none is), but at least 1, and lower = upper − 1, so that
// a value outside the table extrapolates from its two outermost entries.
// With one entry (or none) both are 0.
void BracketRoughness(float value, const float* table, int count, int& lower, int& upper);

// ln(value / lower) / ln(upper / lower): 0 at lower, 1 at upper; 0 when
// the logarithms give no number (equal bracket ends, non-positive values).
float LogInterpolationWeight(float value, float lower, float upper);

}  // namespace kavi::numerics
