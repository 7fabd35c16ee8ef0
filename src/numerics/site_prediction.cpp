#include "numerics/site_prediction.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/context.h"
#include "numerics/prediction_sources.h"
#include "numerics/safe_scaling.h"
#include "numerics/sector_grid.h"
#include "numerics/weibull.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

constexpr float kAngleShift = 720.0f;
// What a sector (or the whole climate) without frequency or wind reports.
constexpr float kEmptyScale = 0.0f;
constexpr float kEmptyShape = 2.0f;

// Frequency-weighted sums of the speeds arriving in one target sector.
struct TargetSums {
  float frequency = 0.0f;
  float speed = 0.0f;
  float cube = 0.0f;
};

// The site's speed factor for wind from source sector s ending up in target
// sector d: orography of the source, reset and shelter slots of the target,
// roughness changes of both. A meaningless factor counts as none.
float SpeedFactor(const SiteEffectTable& effects, int s, int d, int n) {
  const float* S = effects.speedFactor;
  const float W = S[EffectIndex(2, s, n)] * S[EffectIndex(1, d, n)] * S[EffectIndex(3, d, n)] *
                  (S[EffectIndex(4, s, n)] + S[EffectIndex(4, d, n)]) / 2.0f;
  return W >= 0.0f && std::isfinite(W) ? W : 1.0f;
}

// Scales that bring the largest frequency, speed and speed factor near 1, so
// that the sums of cubes stay far from overflow; powers of two keep every
// ratio exact.
struct SumScales {
  float frequency = 1.0f;
  float speed = 1.0f;
  float factor = 1.0f;
};

SumScales ScalesFor(const SourceSector* sources, const SiteEffectTable& effects, int n) {
  float frequency = 0.0f;
  float speed = 0.0f;
  float factor = 0.0f;
  for (int s = 0; s < n; ++s) {
    frequency = std::max(frequency, sources[s].frequency);
    speed = std::max({speed, sources[s].meanSpeed, sources[s].cubeRootMeanCube});
    for (int d = 0; d < n; ++d) factor = std::max(factor, SpeedFactor(effects, s, d, n));
  }
  return {PowerOfTwoAtLeast(frequency), PowerOfTwoAtLeast(speed), PowerOfTwoAtLeast(factor)};
}

// Each source sector, turned at its boundaries by the site, shares its
// frequency among the target sectors it overlaps, carrying its speeds times
// the site's speed factor.
void RedistributeSources(const SourceSector* sources, const SiteEffectTable& effects, int n,
                         const SumScales& scales, TargetSums* targets, float& total) {
  const float e = 360.0f / static_cast<float>(n);
  float boundary[kMaxSectors];
  BoundaryTurnings(effects, n, boundary);
  total = 0.0f;
  for (int s = 0; s < n; ++s) {
    const float f = sources[s].frequency / scales.frequency;
    const float U = sources[s].meanSpeed / scales.speed;
    const float Q = sources[s].cubeRootMeanCube / scales.speed;
    float start = (static_cast<float>(s) - 0.5f) * e + boundary[(s + n - 1) % n] + kAngleShift;
    float end = (static_cast<float>(s) + 0.5f) * e + boundary[s] + kAngleShift;
    if (start > end) start = end = (start + end) / 2.0f;  // a sector turned onto one bearing
    ForEachGridOverlap(start, end, 0.0f, e, n, [&](int d, float overlap) {
      const float K = end > start ? overlap / (end - start) : 1.0f;
      const float P = K * f;
      const float W = SpeedFactor(effects, s, d, n) / scales.factor;
      const float WQ = W * Q;
      targets[d].speed += P * W * U;
      targets[d].cube += P * (WQ * WQ * WQ);
      targets[d].frequency += P;
      total += P;
    });
  }
}

// The Weibull distribution with mean speed U and mean cubed speed M3.
void FitMeanAndCube(float U, float M3, float& A, float& k) {
  if (!(U > 0.0f && M3 > 0.0f)) {
    A = kEmptyScale;
    k = kEmptyShape;
    return;
  }
  const float c = std::log(M3) / 3.0f - std::log(U);
  k = SolveWeibullShape(c, 1, 3);
  A = U / GammaFunction(1.0f + 1.0f / k);
}

// A speed computed in scaled units, back in m/s (never beyond the largest float).
float Unscaled(float value, const SumScales& scales) {
  if (!(value > 0.0f)) return 0.0f;
  return std::fmin(value * scales.speed * scales.factor, std::numeric_limits<float>::max());
}

}  // namespace

void PredictSiteClimate(const Context& ctx, const AtlasTables& atlas, int n,
                        const SiteConditions& site, PredictedClimate& predicted) {
  const SiteEffectTable& effects = site.effects;
  float* const weibullA = predicted.weibullA;
  float* const weibullK = predicted.weibullK;
  float* const frequency = predicted.frequency;
  float& totalA = predicted.totalA;
  float& totalK = predicted.totalK;
  totalA = kEmptyScale;
  totalK = kEmptyShape;
  if (n < 1 || n > kMaxSectors) return;

  SourceSector sources[kMaxSectors] = {};
  const bool tablesUsable = atlas.roughnessCount >= 1 && atlas.roughnessCount <= kMaxStdRoughness &&
                            atlas.heightCount >= 1 && atlas.heightCount <= kMaxStdHeights;
  if (tablesUsable) {
    const float z =
        site.height > 0.0f && std::isfinite(site.height) ? site.height : kRoughnessFloor;
    InterpolateSources(ctx, atlas, n, z, site.rose, sources);
  }
  const SumScales scales = ScalesFor(sources, effects, n);
  TargetSums targets[kMaxSectors] = {};
  float total = 0.0f;
  RedistributeSources(sources, effects, n, scales, targets, total);

  // Per sector, and the mixture of all sectors (in scaled speeds).
  float meanSpeed = 0.0f;
  float meanCube = 0.0f;
  for (int d = 0; d < n; ++d) {
    const TargetSums& t = targets[d];
    if (!(t.frequency > 0.0f)) {
      weibullA[d] = kEmptyScale;
      weibullK[d] = kEmptyShape;
      frequency[d] = 0.0f;
      continue;
    }
    frequency[d] = 100.0f * t.frequency / total;
    float A = 0.0f;
    float k = 0.0f;
    FitMeanAndCube(t.speed / t.frequency, t.cube / t.frequency, A, k);
    meanSpeed += frequency[d] * GammaFunction(1.0f + 1.0f / k) * A / 100.0f;
    meanCube += frequency[d] * GammaFunction(1.0f + 3.0f / k) * (A * A * A) / 100.0f;
    weibullA[d] = Unscaled(A, scales);
    weibullK[d] = k;
  }
  FitMeanAndCube(meanSpeed, meanCube, totalA, totalK);
  totalA = Unscaled(totalA, scales);
}

}  // namespace kavi::numerics
