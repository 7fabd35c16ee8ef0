#include "numerics/atlas_station_winds.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "numerics/atlas_workspace.h"
#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/sector_grid.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

// Keeps every window angle positive.
constexpr float kAngleShift = 720.0f;
// Largest sine of the cross-isobar angle.
constexpr float kMaxTurningSine = 0.7f;

float Square(float x) { return x * x; }

// The site's speed-up of atlas sector j seen through the window [lo, hi]:
// slots 1, 3 and 4 averaged over the sectors the window covers, slot 2 of
// sector j itself. A meaningless or non-positive speed-up counts as none.
float WindowSpeedUp(const SiteEffectTable& effects, int j, int n, float lo, float hi) {
  const float w = 360.0f / static_cast<float>(n);
  const float width = hi - lo;
  float s1 = 0.0f;
  float s3 = 0.0f;
  float s4 = 0.0f;
  ForEachGridOverlap(lo, hi, 0.0f, w, n, [&](int k, float overlap) {
    const float q = width > 0.0f ? overlap / width : 1.0f;
    s1 += q * effects.speedFactor[EffectIndex(1, k, n)];
    s3 += q * effects.speedFactor[EffectIndex(3, k, n)];
    s4 += q * effects.speedFactor[EffectIndex(4, k, n)];
  });
  const float X = 0.5f * s1 * effects.speedFactor[EffectIndex(2, j, n)] * s3 *
                  (s4 + effects.speedFactor[EffectIndex(4, j, n)]);
  return X > 0.0f && std::isfinite(X) ? X : 1.0f;
}

// Geostrophic wind and cross-isobar angle (degrees) of an observed speed U
// through the drag law over the upstream roughness z0b. Without a usable
// station height (at or below the roughness length, or none) the observed
// speed is the geostrophic wind and there is no turning.
struct GeostrophicWind {
  float G;
  float alpha;
};
GeostrophicWind StationGeostrophic(float U, float X, float height, float z0b,
                                   const AtlasDragLaw& law) {
  const float logHeight = height > 0.0f ? std::log(height / z0b) : 0.0f;
  if (!(logHeight > 0.0f) || !std::isfinite(logHeight)) return {U, 0.0f};
  const float ustar = law.kappa * (U / X) / logHeight;
  if (!(ustar > 0.0f)) return {0.0f, 0.0f};
  const float scale = ustar / law.kappa;
  const float G =
      scale * std::sqrt(Square(std::log(ustar / (law.coriolis * z0b)) - law.A0) + Square(law.B0));
  if (!std::isfinite(G)) return {std::numeric_limits<float>::max(), 0.0f};  // enormous speed
  return {G, law.sign * std::asin(std::min(kMaxTurningSine, law.B0 * scale / G)) *
                 kTurningDegreesPerRadian};
}

}  // namespace

void ComputeStationWinds(const AtlasInputs& in, AtlasWorkspace& work) {
  const StationClimate& station = in.station;
  const SiteEffectTable& effects = in.effects;
  const RoughnessRose& rose = in.rose;
  const int n = in.sectorCount;
  const float w = 360.0f / static_cast<float>(n);
  const float wo = 360.0f / static_cast<float>(station.sectors);
  float boundary[kMaxSectors];
  BoundaryTurnings(effects, n, boundary);
  work.total = 0.0f;
  for (int j = 0; j < n; ++j) {
    // The window of atlas sector j, turned at its boundaries by the site.
    float lo = (static_cast<float>(j) - 0.5f) * w + kAngleShift;
    float hi = (static_cast<float>(j) + 0.5f) * w + kAngleShift;
    if (station.height > 0.0f) {
      lo += boundary[(j + n - 1) % n];
      hi += boundary[j];
    }
    if (lo > hi) std::swap(lo, hi);

    // Joint frequency of each observed bin within the window.
    float* joint = work.joint[j];
    std::fill(joint, joint + station.bins, 0.0f);
    ForEachGridOverlap(lo, hi, station.offset, wo, station.sectors, [&](int m, float overlap) {
      for (int i = 0; i < station.bins; ++i) joint[i] += overlap / wo * work.weighted[m][i];
    });

    const float X = WindowSpeedUp(effects, j, n, lo, hi);
    const int changes = std::clamp(rose.changes[j], 0, kMaxRoughnessChanges);
    const float z0b = RaisedRoughness(rose.z0[changes + 1][j]);
    for (int i = 0; i < station.bins; ++i) {
      const GeostrophicWind wind =
          StationGeostrophic(work.limits[i], X, station.height, z0b, in.law);
      work.geostrophic[j][i] = wind.G;
      work.crossIsobar[j][i] = wind.alpha;
      work.total += joint[i];
    }
  }
  // One cross-isobar angle per speed bin: the mean over the sectors.
  for (int i = 0; i < station.bins; ++i) {
    float sum = 0.0f;
    for (int j = 0; j < n; ++j) sum += work.crossIsobar[j][i];
    const float mean = sum / static_cast<float>(n);
    for (int j = 0; j < n; ++j) work.crossIsobar[j][i] = mean;
  }
}

}  // namespace kavi::numerics
