#include "numerics/atlas_reset.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/parameter_elements.h"

namespace kavi::numerics {

namespace {

constexpr float kProfileSpeed = 13.44455f;   // m/s at the profile height
constexpr float kProfileHeight = 100000.0f;  // m
constexpr float kDefaultShape = 1.9f;

}  // namespace

void ResetAtlas(const Context& ctx, int roughnessCount, int heightCount, int sectorCount,
                AtlasTables& atlas) {
  const int classes = std::clamp(roughnessCount, 0, kMaxStdRoughness);
  const int heights = std::clamp(heightCount, 0, kMaxStdHeights);
  const int sectors = std::clamp(sectorCount, 0, kMaxSectors);
  atlas = AtlasTables{};
  atlas.roughnessCount = classes;
  atlas.heightCount = heights;
  for (int r = 0; r < classes; ++r) {
    atlas.roughness[r] = std::max(ctx.Parameter(kStdRoughness1 + r), kRoughnessFloor);
  }
  for (int j = 0; j < heights; ++j) atlas.heights[j] = ctx.Parameter(kStdHeight1 + j);
  for (int r = 0; r < classes; ++r) {
    const float z0 = atlas.roughness[r];
    for (int s = 0; s < sectors; ++s) atlas.frequency[r][s] = 100.0f / sectors;
    for (int j = 0; j < heights; ++j) {
      const float A =
          kProfileSpeed * std::log(atlas.heights[j] / z0) / std::log(kProfileHeight / z0);
      for (int s = 0; s < sectors; ++s) {
        atlas.weibullA[r][j][s] = A;
        atlas.weibullK[r][j][s] = kDefaultShape;
      }
    }
  }
}

}  // namespace kavi::numerics
