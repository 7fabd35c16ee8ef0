#include "numerics/atlas_generalisation.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "numerics/atlas_workspace.h"
#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/sector_grid.h"
#include "numerics/weibull.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

constexpr float kAngleShift = 720.0f;
constexpr float kMaxTurningSine = 0.7f;
// Distribution given to a sector that receives no frequency, before the
// height loop scales and transfers it.
constexpr float kEmptySectorScale = 1.0f;
constexpr float kEmptySectorShape = 2.0f;

float Square(float x) { return x * x; }

// ln(a / b) for positive a and b, also when a / b overflows.
float LogRatio(float a, float b) {
  const float ratio = a / b;
  return std::isfinite(ratio) ? std::log(ratio) : std::log(a) - std::log(b);
}

// Number of 1 m/s generalised bins in use.
int GeneralisedBinCount(const Context& ctx) {
  const int control = ctx.atlasControl;
  return control >= 1 && control <= kGeneralisedBins ? control : kGeneralisedBins;
}

// u*/κ over roughness z0 under the geostrophic wind G: a first friction
// velocity from the simple estimate, then the full drag law once. 0 when G
// gives no wind.
float ClassSpeedScale(float G, float z0, const AtlasDragLaw& law) {
  if (!(G > 0.0f)) return 0.0f;
  const float ustar = law.frictionRatio * G / (LogRatio(G, law.coriolis * z0) - law.A0);
  if (!(ustar > 0.0f) || !std::isfinite(ustar)) return 0.0f;
  const float g =
      G / std::sqrt(Square(LogRatio(ustar, law.coriolis * z0) - law.A0) + Square(law.B0));
  return std::isfinite(g) ? g : 0.0f;
}

// A range of angles (degrees) or speeds (m/s), its ends in either order.
struct Range {
  float from;
  float to;
};

// Adds frequency I, spread evenly over the angle window [lo, hi] and the
// speed interval [u0, u1], to the generalised bins of the atlas sectors it
// meets. A window or interval of zero width goes wholly to the one sector or
// bin that holds it.
void Spread(float I, Range angles, Range speeds, int n, int bins, AtlasWorkspace& work) {
  if (!(I > 0.0f)) return;
  float lo = angles.from;
  float hi = angles.to;
  float u0 = speeds.from;
  float u1 = speeds.to;
  if (lo > hi) std::swap(lo, hi);
  if (u0 > u1) std::swap(u0, u1);
  const float w = 360.0f / static_cast<float>(n);
  const float width = hi - lo;
  const float span = u1 - u0;
  ForEachGridOverlap(lo, hi, 0.0f, w, n, [&](int s, float overlap) {
    const float angleShare = width > 0.0f ? overlap / width : 1.0f;
    if (!(angleShare > 0.0f)) return;
    float* row = work.generalised[s];
    if (!(span > 0.0f)) {
      // Bin b (1-based) covers [b − 1, b]; a speed on a limit counts below it.
      const int b = std::clamp(static_cast<int>(std::ceil(u0)), 1, bins);
      row[b - 1] += I * angleShare;
      return;
    }
    const int first = std::clamp(static_cast<int>(std::floor(u0)) + 1, 1, bins);
    const int last = std::clamp(static_cast<int>(std::ceil(u1)), 1, bins);
    for (int b = first; b <= last; ++b) {
      const float v = std::min(u1, static_cast<float>(b)) - std::max(u0, static_cast<float>(b - 1));
      if (v > 0.0f) row[b - 1] += I * angleShare * v / span;
    }
  });
}

// The generalised histogram of class z0 at the lowest standard height
// (logLowest = ln(h_1 / z0)): each station bin brought down from its
// geostrophic wind over z0, turned by the difference of the cross-isobar
// angles, and spread over 1 m/s bins.
void FillGeneralisedHistogram(const AtlasInputs& in, float z0, float logLowest, int bins,
                              AtlasWorkspace& work) {
  const AtlasDragLaw& law = in.law;
  const int n = in.sectorCount;
  const float w = 360.0f / static_cast<float>(n);
  const float top = static_cast<float>(bins);
  for (int s = 0; s < n; ++s) std::fill(work.generalised[s], work.generalised[s] + bins, 0.0f);
  for (int j = 0; j < n; ++j) {
    float previous = 0.0f;
    for (int i = 0; i < in.station.bins; ++i) {
      const float G = work.geostrophic[j][i];
      const float g = ClassSpeedScale(G, z0, law);
      const float alpha = g > 0.0f
                              ? law.sign * std::asin(std::min(kMaxTurningSine, law.B0 * g / G)) *
                                    kTurningDegreesPerRadian
                              : 0.0f;
      float upper = g * logLowest;
      upper = upper > 0.0f ? std::min(upper, top) : 0.0f;  // also for a meaningless speed
      const float lo = (static_cast<float>(j) - 0.5f) * w + kAngleShift +
                       work.crossIsobar[(j + n - 1) % n][i] - alpha;
      const float hi =
          (static_cast<float>(j) + 0.5f) * w + kAngleShift + work.crossIsobar[j][i] - alpha;
      Spread(work.joint[j][i], {lo, hi}, {previous, upper}, n, bins, work);
      previous = upper;
    }
  }
}

}  // namespace

void GeneraliseRoughnessClass(const Context& ctx, int r, const AtlasInputs& in,
                              AtlasWorkspace& work, AtlasTables& atlas) {
  const int n = in.sectorCount;
  const int bins = GeneralisedBinCount(ctx);
  const float z0 = RaisedRoughness(atlas.roughness[r]);
  const float logLowest = std::log(atlas.heights[0] / z0);
  FillGeneralisedHistogram(in, z0, logLowest, bins, work);

  // Frequency and fitted distribution of each sector at the lowest height.
  float limits[kGeneralisedBins];
  float shares[kGeneralisedBins];
  for (int b = 0; b < bins; ++b) limits[b] = static_cast<float>(b + 1);
  for (int s = 0; s < n; ++s) {
    const float* row = work.generalised[s];
    float T = 0.0f;
    for (int b = 0; b < bins; ++b) T += row[b];
    if (!(T > 0.0f)) {
      atlas.frequency[r][s] = 0.0f;
      atlas.weibullA[r][0][s] = kEmptySectorScale;
      atlas.weibullK[r][0][s] = kEmptySectorShape;
      continue;
    }
    atlas.frequency[r][s] = T * 100.0f / work.total;
    for (int b = 0; b < bins; ++b) shares[b] = row[b] / T;
    FitWeibull(shares, limits, bins, atlas.weibullA[r][0][s], atlas.weibullK[r][0][s]);
  }

  // Every standard height, from the top down so that the lowest height's
  // values are read before they are replaced: the logarithmic profile, then
  // the transfer from the station height (to water for the first class).
  const int direction = r == 0 ? kTransferToWater : kTransferToLand;
  for (int h = atlas.heightCount - 1; h >= 0; --h) {
    float R = std::log(atlas.heights[h] / z0) / logLowest;
    if (!(R >= 0.0f) || !std::isfinite(R)) R = 0.0f;  // a height at or below the roughness
    for (int s = 0; s < n; ++s) {
      float A = R * atlas.weibullA[r][0][s];
      float k = atlas.weibullK[r][0][s];
      if (A > 0.0f) {
        TransferWeibull(ctx, A, k, in.rose,
                        {z0, in.station.height, atlas.heights[h], s + 1, direction});
      }
      atlas.weibullA[r][h][s] = A;
      atlas.weibullK[r][h][s] = k;
    }
  }
}

}  // namespace kavi::numerics
