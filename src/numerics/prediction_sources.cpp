#include "numerics/prediction_sources.h"

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/safe_scaling.h"
#include "numerics/prediction_bracket.h"
#include "numerics/weibull.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

struct CornerSpeeds {
  float mean = 0.0f;
  float cubeRoot = 0.0f;
};

// The atlas distribution of class r, height h and sector s moved from the
// class's surface to the sector's upstream conditions at the same height.
CornerSpeeds Corner(const Context& ctx, const AtlasTables& atlas, int r, int h, int s,
                    const RoughnessRose& rose) {
  float A = atlas.weibullA[r][h][s];
  float k = atlas.weibullK[r][h][s];
  if (!(A > 0.0f && k > 0.0f) || !std::isfinite(A) || !std::isfinite(k)) return {};
  const float z = atlas.heights[h];
  TransferWeibull(ctx, A, k, rose,
                  {RaisedRoughness(atlas.roughness[r]), z, z, s + 1, kTransferToUpstream});
  const float mean = A * GammaFunction(1.0f + 1.0f / k);
  const float cubeRoot = A * std::cbrt(GammaFunction(1.0f + 3.0f / k));
  if (!std::isfinite(mean) || !std::isfinite(cubeRoot)) return {};
  return {mean, cubeRoot};
}

// X = wh·wr·X(upper class, upper height) + wh·(1 − wr)·X(lower class, upper
// height) + (1 − wh)·wr·X(upper class, lower height) + (1 − wh)(1 − wr)·X(lower
// class, lower height).
float Bilinear(float wh, float wr, float upperUpper, float lowerUpper, float upperLower,
               float lowerLower) {
  return wh * wr * upperUpper + wh * (1.0f - wr) * lowerUpper + (1.0f - wh) * wr * upperLower +
         (1.0f - wh) * (1.0f - wr) * lowerLower;
}

}  // namespace

void InterpolateSources(const Context& ctx, const AtlasTables& atlas, int n, float height,
                        const RoughnessRose& rose, SourceSector* sources) {
  int hl = 0;
  int hu = 0;
  BracketRoughness(height, atlas.heights, atlas.heightCount, hl, hu);
  const float wh = LogInterpolationWeight(height, atlas.heights[hl], atlas.heights[hu]);
  float classes[kMaxStdRoughness];
  for (int r = 0; r < atlas.roughnessCount; ++r) classes[r] = RaisedRoughness(atlas.roughness[r]);

  for (int s = 0; s < n; ++s) {
    const int changes = std::clamp(rose.changes[s], 0, kMaxRoughnessChanges);
    const float z0 = RaisedRoughness(rose.z0[changes + 1][s]);
    int rl = 0;
    int ru = 0;
    BracketRoughness(z0, classes, atlas.roughnessCount, rl, ru);
    const float wr = LogInterpolationWeight(z0, classes[rl], classes[ru]);

    const CornerSpeeds lowerLower = Corner(ctx, atlas, rl, hl, s, rose);
    const CornerSpeeds lowerUpper = Corner(ctx, atlas, rl, hu, s, rose);
    const CornerSpeeds upperLower = Corner(ctx, atlas, ru, hl, s, rose);
    const CornerSpeeds upperUpper = Corner(ctx, atlas, ru, hu, s, rose);
    SourceSector& source = sources[s];
    // Extrapolation beyond the tables may fall below zero: no wind then.
    source.meanSpeed = NonNegativeOrZero(
        Bilinear(wh, wr, upperUpper.mean, lowerUpper.mean, upperLower.mean, lowerLower.mean));
    source.cubeRootMeanCube =
        NonNegativeOrZero(Bilinear(wh, wr, upperUpper.cubeRoot, lowerUpper.cubeRoot,
                                   upperLower.cubeRoot, lowerLower.cubeRoot));
    source.frequency = NonNegativeOrZero(wr * NonNegativeOrZero(atlas.frequency[ru][s]) +
                                         (1.0f - wr) * NonNegativeOrZero(atlas.frequency[rl][s]));
  }
}

}  // namespace kavi::numerics
