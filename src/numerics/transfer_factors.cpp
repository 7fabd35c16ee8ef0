#include "numerics/transfer_factors.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {

namespace {

// Coriolis parameter (1/s) of the transfer's drag law, the same at every latitude.
constexpr float kCoriolis = 1.0e-4f;
// Constants of the stability model: heat-flux scale of the rms and offset
// terms, the coefficients of the flux and offset parts of the profile
// amplitude, the boundary-layer height factor, the exponent of the layer
// height on the Rossby number, and the largest damping exponent.
constexpr float kFluxScale = 2.786e-5f;
constexpr float kFluxCoefficient = 1.783e-4f;
constexpr float kOffsetCoefficient = 4.365e-6f;
constexpr float kOffsetAmplitude = 12.0f;
constexpr float kBoundaryLayerFactor = 33.0f;
constexpr float kLayerHeightExponent = 0.9f;
constexpr float kMaxDampingExponent = 14.0f;

float Square(float x) { return x * x; }

// One surface as the profile model sees it: a layer of height H over
// roughness z0 with its profile amplitude, the spread and offset of its
// speeds, and the added amplitude term.
struct Surface {
  float H = 0.0f;
  float z0 = 0.0f;
  float amplitude = 0.0f;  // P (stability model) or the fixed amplitude Q' (neutral)
  float sigma = 0.0f;
  float offset = 0.0f;
  float added = 0.0f;  // t
};

// Everything a transfer needs about water, land of z0a and the upstream mix.
struct TransferSurfaces {
  bool stability = false;
  Surface water;
  Surface land;
  Surface upstream;
  float dampFrom = 1.0f;
  float dampTo = 1.0f;
};

// Friction velocity over a surface from the geostrophic drag law.
float FrictionVelocity(const Context& ctx, float G, float rossby) {
  return ctx.Parameter(kFrictionRatio) * G / (std::log(rossby) - ctx.Parameter(kDragA0));
}

// Profile amplitude of the stability model for a layer of height h with
// friction velocity u* and the surface's heat-flux term and offset.
float StabilityAmplitude(float h, float ustar, float flux, float offset) {
  const float u3 = ustar * ustar * ustar;
  return 1.0f - std::pow(1.0f + kFluxCoefficient * h * flux / u3, 0.25f) +
         kOffsetAmplitude * (1.0f - std::exp(kOffsetCoefficient * std::min(offset * h, 0.0f) / u3));
}

// Surfaces of the stability model, driven by a geostrophic wind that the
// drag law derives from the energy-carrying speed of (A, k) at zTo over z0a.
bool StabilitySurfaces(const Context& ctx, float A, float k, const Transfer& transfer, float z0b,
                       TransferSurfaces& s) {
  const float z0a = transfer.z0a;
  const float zFrom = transfer.zFrom;
  const float zTo = transfer.zTo;
  const float kappa = ctx.Parameter(kVonKarman);
  const float A0 = ctx.Parameter(kDragA0);
  const float B0 = ctx.Parameter(kDragB0);
  const float logHeight = std::log(zTo / z0a);
  if (!(logHeight > 0.0f)) return false;
  const float energySpeed = A * std::pow((k + 2.0f) / k, 1.0f / k);
  const float ustar = kappa * energySpeed / logHeight;
  float G = (energySpeed / logHeight) *
            std::sqrt(Square(std::log(ustar / (kCoriolis * z0a)) - A0) + Square(B0));
  G = std::max(G, ctx.Parameter(kLowestGeostrophicWind));
  if (!std::isfinite(G)) return false;

  const float rossbyA = G / (kCoriolis * z0a);
  const float rossbyB = G / (kCoriolis * z0b);
  const float rossbyW = G / (kCoriolis * kRoughnessFloor);
  const float ustarA = FrictionVelocity(ctx, G, rossbyA);
  const float ustarB = FrictionVelocity(ctx, G, rossbyB);
  const float ustarW = FrictionVelocity(ctx, G, rossbyW);

  const float hbl = std::max(1.0f, kBoundaryLayerFactor * ctx.Parameter(kBoundaryLayerScale) *
                                       ustarA / (kCoriolis * std::exp(A0)));
  s.dampFrom = zFrom > 0.0f ? std::exp(-std::min(zFrom / hbl, kMaxDampingExponent)) : 1.0f;
  s.dampTo = std::exp(-std::min(zTo / hbl, kMaxDampingExponent));

  const float stab = ctx.Parameter(kStabilityFactor);
  const float c = ctx.Parameter(kHeatFluxScale) * kFluxScale / kCoriolis;
  const float G2 = G * G;
  const float rmsLand = ctx.Parameter(kLandFluxRms);
  const float rmsWater = ctx.Parameter(kWaterFluxRms);
  const float offsetLand = ctx.Parameter(kLandFluxOffset);
  const float offsetWater = ctx.Parameter(kWaterFluxOffset);
  const float fluxLand =
      std::max(0.0f, std::max(offsetLand, 0.0f) + ctx.Parameter(kLandSpreadAdded) * rmsLand);
  const float fluxWater =
      std::max(0.0f, std::max(offsetWater, 0.0f) + ctx.Parameter(kWaterSpreadAdded) * rmsWater);

  s.land.z0 = z0a;
  s.land.H = stab * z0a * std::pow(rossbyA, kLayerHeightExponent);
  s.land.amplitude = StabilityAmplitude(s.land.H, ustarA, fluxLand, offsetLand);
  s.land.sigma = rmsLand * c / G2;
  s.land.offset = offsetLand * c / G2;
  s.land.added = ctx.Parameter(kLandSpreadAdded) * s.land.sigma;

  s.upstream = s.land;  // spread, offset and added term are mixed later
  s.upstream.z0 = z0b;
  s.upstream.H = stab * z0b * std::pow(rossbyB, kLayerHeightExponent);
  s.upstream.amplitude = StabilityAmplitude(s.upstream.H, ustarB, fluxLand, offsetLand);

  s.water.z0 = kRoughnessFloor;
  s.water.H = stab * kRoughnessFloor * std::pow(rossbyW, kLayerHeightExponent);
  s.water.amplitude = StabilityAmplitude(s.water.H, ustarW, fluxWater, offsetWater);
  s.water.sigma = rmsWater * c / G2;
  s.water.offset = offsetWater * c / G2;
  s.water.added = ctx.Parameter(kWaterSpreadAdded) * s.water.sigma;
  return true;
}

// Surfaces of the neutral model: fixed layer heights, spreads and amplitudes.
void NeutralSurfaces(const Context& ctx, float z0a, float z0b, TransferSurfaces& s) {
  s.land = {ctx.Parameter(kLandLayerHeight),
            z0a,
            ctx.Parameter(kLandAmplitudeNeutral),
            ctx.Parameter(kLandSpreadNeutral),
            1.0f / ctx.Parameter(kLandOffsetRatioNeutral) - 1.0f,
            0.0f};
  s.upstream = s.land;
  s.upstream.z0 = z0b;
  s.water = {ctx.Parameter(kWaterLayerHeight),
             kRoughnessFloor,
             ctx.Parameter(kWaterAmplitudeNeutral),
             ctx.Parameter(kWaterSpreadNeutral),
             0.0f,
             0.0f};
}

// The upstream surface: water and land mixed by the land fraction F.
void MixUpstream(float F, TransferSurfaces& s) {
  auto mix = [F](float water, float land) { return water * (1.0f - F) + land * F; };
  Surface& u = s.upstream;
  u.H = mix(s.water.H, u.H);
  u.amplitude = mix(s.water.amplitude, u.amplitude);
  u.sigma = mix(s.water.sigma, s.land.sigma);
  u.offset = mix(s.water.offset, s.land.offset);
  u.added = mix(s.water.added, s.land.added);
}

// The surface's normalised mean speed and standard deviation when probed at
// height z with damping e.
struct ProfileNorm {
  float mean;
  float spread;
};

// A probe at or below the surface's roughness length lies outside the
// profile and gives no number.
ProfileNorm Probe(const Surface& surface, bool stability, float z, float e) {
  if (!(z > surface.z0)) return {std::nanf(""), std::nanf("")};
  const float layerLog = std::log(surface.H / surface.z0);
  const float amplitude =
      stability ? surface.amplitude / layerLog + surface.added : surface.amplitude;
  const float D = 1.0f - ((z - surface.z0) / surface.H) * e * layerLog / std::log(z / surface.z0);
  return {1.0f + (1.0f - D) * amplitude + surface.offset, 1.0f + std::fabs(D) * surface.sigma};
}

}  // namespace

bool ComputeTransferFactors(const Context& ctx, float A, float k, const RoughnessRose& rose,
                            const Transfer& transfer, TransferFactors& factors) {
  const float zFrom = transfer.zFrom;
  const float zTo = transfer.zTo;
  const int sector = transfer.sector;
  const int direction = transfer.direction;
  if (!(A > 0.0f && k > 0.0f && zTo > 0.0f) || !std::isfinite(A) || !std::isfinite(k) ||
      !std::isfinite(zTo) || !std::isfinite(zFrom) || sector < 1 || sector > kMaxSectors ||
      direction < kTransferToWater || direction > kTransferToUpstream) {
    return false;
  }
  if (direction == kTransferToUpstream && !(zFrom > 0.0f)) return false;
  const int i = sector - 1;
  Transfer raised = transfer;
  raised.z0a = RaisedRoughness(transfer.z0a);
  const float z0a = raised.z0a;
  const int n = std::clamp(rose.changes[i], 0, kMaxRoughnessChanges);
  const float z0b = RaisedRoughness(rose.z0[n + 1][i]);

  TransferSurfaces s;
  s.stability = ctx.Parameter(kStabilityFactor) > 0.0f;
  if (s.stability) {
    if (!StabilitySurfaces(ctx, A, k, raised, z0b, s)) return false;
  } else {
    NeutralSurfaces(ctx, z0a, z0b, s);
  }
  MixUpstream(UpstreamLandFraction(ctx, rose, sector), s);

  // Numerator and denominator terms of the factors, by direction.
  ProfileNorm to{1.0f, 1.0f};
  ProfileNorm from{1.0f, 1.0f};
  if (direction == kTransferToUpstream) {
    to = Probe(s.upstream, s.stability, zTo, s.dampTo);
    const Surface& start = z0a > kWaterClassRoughness ? s.land : s.water;
    from = Probe(start, s.stability, zFrom, s.dampFrom);
  } else {
    to = Probe(direction == kTransferToWater ? s.water : s.land, s.stability, zTo, s.dampTo);
    if (zFrom > 0.0f) from = Probe(s.upstream, s.stability, zFrom, s.dampFrom);
  }
  const float mean = to.mean / from.mean;
  const float spread = to.spread / from.spread;
  if (!(mean > 0.0f && spread >= 0.0f) || !std::isfinite(mean) || !std::isfinite(spread)) {
    return false;
  }
  factors.mean = mean;
  factors.spread = spread;
  return true;
}

}  // namespace kavi::numerics
