// Names of the elements of the parameter vector that the routines read
// (element n at index n - 1). Names in capitals are the configuration's
// parameter ids of the same elements.
#pragma once

namespace kavi::numerics {

enum Element : int {
  kSectorCountElement = 1,      // sectors of the calculation
  kCoastalZoneWidth = 2,        // WIDTHCZ, m: fetch over which upstream land counts
  kLandLayerHeight = 3,         // DYLAND, m
  kLandAmplitude = 4,           // DYAMPLI
  kNeutralOffset = 5,           // AOFSNEU
  kInversionHeight = 6,         // BZINVHE, m
  kInversionSoftening = 7,      // BZSOFTN, 0 … 1
  kVonKarman = 8,               // κ = 0.4
  kFrictionRatio = 9,           // u*/G factor of the simple drag estimate
  kDragA0 = 10,                 // A of the geostrophic drag law
  kDragB0 = 11,                 // B of the geostrophic drag law
  kOrographicDecayHeight = 24,  // m
  kInnerLayerFactor = 26,       // inner-layer height over ze·(L/ze)^exponent
  kTermLengthFactor = 27,       // term length over the term weight times M
  kOrographicUpperHeight = 28,  // m
  kRoughnessReach = 29,         // term lengths within which rings count
  kInnerLayerExponent = 30,
  kRoughnessDecayLength = 31,   // RDECAYL, m
  kLandSpreadRatio = 33,        // spread factor of the neutral land surface
  kTrueUpwind = 34,             // TRUEUPW, 0 or 1
  kBoundaryLayerConstant = 39,  // c of the internal boundary layer height
  kBlendTop = 40,               // top of the blend, over the layer height
  kBlendBottom = 41,            // bottom of the blend, over the layer height
  kRaySpacing = 42,             // BZAZRES, degrees
  kLowestLatitude = 44,         // degrees: the Coriolis parameter never goes below this one's
  kWakeShadowFactor = 45,       // shelter wake length of the nearer obstacle
  kWakeRiseFactor = 46,         // shelter wake length of the taller obstacle
  kShelterSmoothing = 47,       // degrees: half width of the smoothing over directions
  kWaterLayerHeight = 51,       // DYWATER, m
  kWaterAmplitude = 52,
  kWaterOffset = 53,
  kStabilityFactor = 54,  // STABFAC; 0 turns the stability model off
  kHeatFluxScale = 55,
  kLandFluxRms = 56,      // RMSLAND, W/m²
  kWaterFluxRms = 57,     // RMSWATER, W/m²
  kLandFluxOffset = 58,   // OFSLAND, W/m²
  kWaterFluxOffset = 59,  // OFSWATER, W/m²
  kBoundaryLayerScale = 60,
  kLandSpreadAdded = 61,
  kWaterSpreadAdded = 62,
  kLowestGeostrophicWind = 64,  // m/s
  kMaxSearchRadius = 75,        // MAXRADIUS, m
  kGridSpread = 76,             // zooming grid length scale over the search radius, minus 1
};

}  // namespace kavi::numerics
