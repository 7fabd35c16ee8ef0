// The orographic perturbation of one sector's wind vector, summed over the
// spectral terms of the zooming grid.
#include "numerics/orographic_vector.h"

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/decay_length.h"
#include "numerics/grid_state.h"
#include "numerics/parameter_elements.h"
#include "numerics/site_model.h"
#include "numerics/site_model_inputs.h"

namespace kavi::numerics {

namespace {

using site_model::DecayWeight;
using site_model::GridLengthScale;
using site_model::kLargestDecayExponent;
using site_model::SectorDirection;
using site_model::UsableFetch;
using site_model::UsableHeight;
using site_model::UsableRoughness;

// The undisturbed log profile in the denominator is taken at least at twice the
// effective roughness: below that the logarithm passes through zero at the
// roughness itself and the term would blow up.
constexpr float kSmallestProfileRatio = 2.0f;
// A perturbed vector longer than this (or not finite) can only come from a
// grid holding garbage; the sector then keeps its undisturbed vector.
constexpr float kLargestPerturbedLength = 1.0e6f;

// What one spectral term needs besides its coefficients.
struct TermScale {
  float length = 0.0f;       // L_k (m)
  float amplitude = 0.0f;    // T_k (1/m): inversion and decay factors over M
  float roughness = 0.0f;    // effective roughness ze_k (m)
  float innerHeight = 0.0f;  // inner-layer height l_k (m)
};

// Length and amplitude of every term, from the grid scale, the term scales and
// the inversion height and softening of the grid builder.
void ComputeTermAmplitudes(const Context& ctx, float m, int terms, TermScale* scale) {
  const float inversionHeight = ctx.Parameter(kInversionHeight);
  const float softening = ctx.Parameter(kInversionSoftening);
  const float decayHeight = ctx.Parameter(kOrographicDecayHeight);
  for (int k = terms - 1; k >= 0; --k) {
    const float L = m * ctx.gridTermWeights[k] * ctx.Parameter(kTermLengthFactor);
    // (E + 1 - 2 S) / (E - 1) with E = exp(min(2 H / L, 10)), written so that
    // it is exactly 1 for S = 1 and stays finite when E is close to 1.
    const float eMinusOne = std::expm1(std::min(2.0f * inversionHeight / L, kLargestDecayExponent));
    const float inversion = 1.0f + 2.0f * (1.0f - softening) / eMinusOne;
    scale[k].length = L;
    scale[k].amplitude =
        inversion * std::exp(-std::min(decayHeight / L, kLargestDecayExponent)) / m;
  }
}

// Effective roughness and inner-layer height of every term: going from the
// smallest term to the largest, the rings of the sector are taken up while
// their change lies within element 29 term lengths, each weighted by the decay
// of its distance, and averaged over the term's own reach.
void ComputeTermRoughness(const Context& ctx, const RoughnessRose& rose, int sector, int terms,
                          TermScale* scale) {
  const int changes = std::clamp(rose.changes[sector], 0, kMaxRoughnessChanges);
  const float decayLength = DecayLength(ctx, kUnlimitedDecayLength);
  const float reach = ctx.Parameter(kRoughnessReach);
  int ring = 0;
  float fetch = 0.0f;
  float accumulated = 0.0f;
  float currentLog = std::log(UsableRoughness(rose.z0[0][sector]));
  for (int k = terms - 1; k >= 0; --k) {
    const float L = scale[k].length;
    while (ring < changes &&
           std::max(fetch, UsableFetch(rose.distance[ring][sector])) / reach < L) {
      fetch = std::max(fetch, UsableFetch(rose.distance[ring][sector]));
      const float oldLog = currentLog;
      ++ring;
      currentLog = std::log(UsableRoughness(rose.z0[ring][sector]));
      accumulated += (oldLog - currentLog) * DecayWeight(fetch / decayLength);
    }
    const float span = DecayWeight(reach * L / decayLength);
    const float meanShift = span > 0.0f ? accumulated / span : 0.0f;
    const float ze = UsableRoughness(std::exp(meanShift + currentLog));
    scale[k].roughness = ze;
    scale[k].innerHeight = ctx.Parameter(kInnerLayerFactor) * ze *
                           std::pow(L / ze, ctx.Parameter(kInnerLayerExponent));
  }
}

}  // namespace

WindVector OrographicVector(const Context& ctx, const RoughnessRose& rose, float height, int sector,
                            int nsec) {
  if (nsec < 1 || nsec > kMaxSectors || sector < 0 || sector >= nsec) return {};
  const WindVector undisturbed = SectorDirection(sector, nsec);
  const float m = GridLengthScale(ctx);
  if (m == 0.0f) return undisturbed;

  const int terms = std::clamp(ctx.gridTerms, 0, kGridTermCount);
  TermScale scale[kGridTermCount];
  ComputeTermAmplitudes(ctx, m, terms, scale);
  ComputeTermRoughness(ctx, rose, sector, terms, scale);

  const float z = UsableHeight(height);
  const float upperHeight = ctx.Parameter(kOrographicUpperHeight);
  const float(*coefficients)[3] = ctx.grid.coefficients[sector];
  float vx = undisturbed.east;
  float vy = undisturbed.north;
  for (int k = 0; k < terms; ++k) {
    const TermScale& s = scale[k];
    const float profile = std::log(std::min(s.length, upperHeight) / s.roughness);
    const float ux = undisturbed.east * profile;
    const float uy = undisturbed.north * profile;
    const float a0 = coefficients[k][0];
    const float a1 = coefficients[k][1];
    const float a2 = coefficients[k][2];
    const float p = 0.5f * (ux * a0 - uy * a1);
    const float q = 0.5f * (ux * a1 + uy * a2);
    const float local =
        std::log(std::max(std::max(z, s.innerHeight) / s.roughness, kSmallestProfileRatio));
    const float f = std::exp(-z / s.length) * s.amplitude * profile / (local * local);
    vx -= f * p;
    vy += f * q;
  }
  if (!(std::hypot(vx, vy) <= kLargestPerturbedLength)) return undisturbed;
  return {vx, vy};
}

}  // namespace kavi::numerics
