#include "numerics/climate_plausibility.h"

namespace kavi::numerics {

bool ClimateIsPlausible(const ObservedClimate& climate, bool lastLimitRepeated) {
  if (!(climate.latitude >= -90.0f && climate.latitude <= 90.0f)) return false;
  const int bins = climate.binCount;
  if (bins < 1 || !(climate.upperLimits[0] >= 0.0f)) return false;
  for (int b = 1; b < bins; ++b) {
    const float U = climate.upperLimits[b];
    const float before = climate.upperLimits[b - 1];
    const bool shared = lastLimitRepeated && b == bins - 1 && U == before;
    if (!(U > before) && !shared) return false;
  }
  return climate.upperLimits[bins - 1] >= kMinTopSpeedLimit;
}

}  // namespace kavi::numerics
