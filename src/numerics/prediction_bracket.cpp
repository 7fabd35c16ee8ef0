#include "numerics/prediction_bracket.h"

#include <cmath>

namespace kavi::numerics {

void BracketRoughness(float value, const float* table, int count, int& lower, int& upper) {
  if (count <= 1) {
    lower = 0;
    upper = 0;
    return;
  }
  upper = count - 1;
  for (int i = 0; i < count; ++i) {
    if (table[i] >= value) {
      upper = i;
      break;
    }
  }
  if (upper < 1) upper = 1;
  lower = upper - 1;
}

float LogInterpolationWeight(float value, float lower, float upper) {
  const float weight = std::log(value / lower) / std::log(upper / lower);
  return std::isfinite(weight) ? weight : 0.0f;
}

}  // namespace kavi::numerics
