// Internal boundary layers behind roughness changes: the profile function, the
// growth of the layer with fetch, and the speed ratio across a change.
#include "numerics/boundary_layer.h"

#include <cmath>

#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/site_model.h"
#include "numerics/site_model_inputs.h"

namespace kavi::numerics {

namespace {

using site_model::UsableFetch;
using site_model::UsableHeight;
using site_model::UsableRoughness;

// F(r) = r^2 / 4 * (kCubicConstant - kCubicSlope * r) for r <= 2.
constexpr float kCubicConstant = 1.0794415f;
constexpr float kCubicSlope = 0.5f * 0.38629436f;
constexpr float kCubicLimit = 2.0f;

// Up to this normalised fetch the layer grows as a power law.
constexpr float kPowerLawLimit = 20.0f;
constexpr float kPowerLawFactor = 1.6462f;
constexpr float kPowerLawExponent = 0.6651f;
// Beyond it the height solves eta = c X / (ln eta - 1) by fixed-point passes,
// started from kStartFactor * X^kStartExponent and stopped when one pass
// changes eta by at most kTolerance of its new value. The passes converge in a
// handful of steps for the default c; kMaxPasses bounds them for any c.
constexpr float kStartFactor = 0.4f;
constexpr float kStartExponent = 0.9f;
constexpr float kTolerance = 0.03f;
constexpr int kMaxPasses = 50;

// F(y / zNumerator) / F(y / zDenominator) for y >= 0 and roughness lengths in
// the usable range. Where both arguments lie on the cubic branch the common
// factor y^2 / 4 is cancelled, so the quotient stays exact down to y = 0 (its
// limit, (zDenominator / zNumerator)^2) instead of turning into 0 / 0.
float ProfileQuotient(float y, float zNumerator, float zDenominator) {
  const float a = y / zNumerator;
  const float b = y / zDenominator;
  if (a <= kCubicLimit && b <= kCubicLimit) {
    const float q = zDenominator / zNumerator;
    return q * q * (kCubicConstant - kCubicSlope * a) / (kCubicConstant - kCubicSlope * b);
  }
  return LogProfileShape(a) / LogProfileShape(b);
}

// The speed ratio below the blending zone: F(h/zu) F(z/zd) / (F(z/zu) F(h/zd)).
float InnerRatio(float z, float zd, float zu, float h) {
  return ProfileQuotient(h, zu, zd) * ProfileQuotient(z, zd, zu);
}

}  // namespace

float LogProfileShape(float r) {
  if (r > kCubicLimit) return std::log(r);
  return 0.25f * r * r * (kCubicConstant - kCubicSlope * r);
}

float BoundaryLayerHeight(const Context& ctx, float fetch, float upstreamRoughness,
                          float downstreamRoughness) {
  const float zm = UsableRoughness(std::max(upstreamRoughness, downstreamRoughness));
  const float X = UsableFetch(fetch) / zm;
  if (X <= kPowerLawLimit) return kPowerLawFactor * zm * std::pow(X, kPowerLawExponent);

  const float c = ctx.Parameter(kBoundaryLayerConstant);
  float eta = kStartFactor * std::pow(X, kStartExponent);
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const float denominator = std::log(eta) - 1.0f;
    // Below eta = e the relation has no positive solution to move towards.
    if (!(denominator > 0.0f)) break;
    const float next = c * X / denominator;
    if (!(next > 0.0f) || !std::isfinite(next)) break;
    const bool converged = std::fabs(eta - next) / next <= kTolerance;
    eta = next;
    if (converged) break;
  }
  return zm * eta;
}

float RoughnessChangeRatio(const Context& ctx, float height, float downstreamRoughness,
                           float upstreamRoughness, float boundaryLayerHeight) {
  const float z = UsableHeight(height);
  const float h = UsableHeight(boundaryLayerHeight);
  const float zd = UsableRoughness(downstreamRoughness);
  const float zu = UsableRoughness(upstreamRoughness);
  const float top = ctx.Parameter(kBlendTop) * h;        // above it the upstream profile holds
  const float bottom = ctx.Parameter(kBlendBottom) * h;  // below it the downstream profile holds

  if (z >= top) return 1.0f;
  if (z < bottom) return InnerRatio(z, zd, zu, h);
  // Between the two the ratio blends linearly in ln z from its value at the
  // bottom to 1 at the top.
  const float r1 = InnerRatio(bottom, zd, zu, h);
  return (r1 * std::log(top / z) + std::log(z / bottom)) / std::log(top / bottom);
}

}  // namespace kavi::numerics
