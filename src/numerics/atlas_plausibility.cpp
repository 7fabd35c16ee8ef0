#include "numerics/atlas_plausibility.h"

namespace kavi::numerics {

namespace {
bool StrictlyIncreasing(const float* values, int count) {
  for (int i = 1; i < count; ++i)
    if (!(values[i] > values[i - 1])) return false;
  return true;
}
}  // namespace

bool AtlasIsPlausible(const AtlasTables& atlas, int sectors) {
  if (!StrictlyIncreasing(atlas.roughness, atlas.roughnessCount) ||
      !StrictlyIncreasing(atlas.heights, atlas.heightCount))
    return false;
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    for (int s = 0; s < sectors; ++s) {
      if (!(atlas.frequency[r][s] > 0.0f)) continue;
      for (int h = 0; h < atlas.heightCount; ++h) {
        const float a = atlas.weibullA[r][h][s];
        const float k = atlas.weibullK[r][h][s];
        if (!(a >= 0.0f && a <= kMaxAtlasWeibullA && k >= kMinAtlasWeibullK &&
              k <= kMaxAtlasWeibullK))
          return false;
      }
    }
  }
  return true;
}

}  // namespace kavi::numerics
