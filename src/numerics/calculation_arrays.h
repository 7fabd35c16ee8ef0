// The arrays of one calculation that the model objects own and pass to the
// numerical routines by reference. Capacities are fixed; the sector index runs
// fastest everywhere.
#pragma once

#include "numerics/numerical_state.h"

namespace kavi::numerics {

constexpr int kMaxRoughnessChanges = 10;  // per sector
constexpr int kRoughnessRings = 12;       // z0 rings 0 … 11 (ring c + 1 is the effective one)
constexpr int kDistanceRings = 10;        // distances 0 … 9
constexpr int kEffectSlots = 4;
constexpr int kMaxStdRoughness = 5;
constexpr int kMaxStdHeights = 5;
constexpr int kMaxObservedBins = 100;
constexpr int kMaxObservedEntries = 3600;

// A position in the map's coordinates (m).
struct MapPoint {
  float x = 0.0f;
  float y = 0.0f;
};

// The map storage as the routines read it: the coordinate arrays mapX and mapY
// of `capacity` entries each, holding `lineCount` lines (the layout is in
// numerics/map_input.h).
struct MapStorage {
  const float* x = nullptr;
  const float* y = nullptr;
  int lineCount = 0;
  int capacity = 0;
};

// Per sector i (0 … 35): c changes, roughness lengths z0[0 … c][i] (z0[c + 1][i]
// receives the effective upstream roughness) and change distances d[0 … c - 1][i].
struct RoughnessRose {
  int changes[kMaxSectors] = {};
  float z0[kRoughnessRings][kMaxSectors] = {};
  float distance[kDistanceRings][kMaxSectors] = {};
};

// Speed factor and turning angle (degrees, clockwise positive) per slot and
// sector, packed slot after slot with nsec entries per slot: slot s (1 … 4) of
// sector i (0 … nsec - 1) at index (s - 1) * nsec + i.
struct SiteEffectTable {
  float speedFactor[kEffectSlots * kMaxSectors] = {};
  float turning[kEffectSlots * kMaxSectors] = {};
};
inline int EffectIndex(int slot, int sector, int nsec) { return (slot - 1) * nsec + sector; }

// A site (or a station) as the calculations see it: its height above ground
// (m), its site effect table and its roughness rose, with the extra ring the
// site model writes.
struct SiteConditions {
  float height;
  const SiteEffectTable& effects;
  const RoughnessRose& rose;
};

// The generalised wind climate: per roughness class r, height h and sector s.
struct AtlasTables {
  int roughnessCount = 0;  // N_R
  int heightCount = 0;     // N_H
  float roughness[kMaxStdRoughness] = {};
  float heights[kMaxStdHeights] = {};
  float frequency[kMaxStdRoughness][kMaxSectors] = {};                 // f(s, r) percent
  float weibullA[kMaxStdRoughness][kMaxStdHeights][kMaxSectors] = {};  // A(s, h, r)
  float weibullK[kMaxStdRoughness][kMaxStdHeights][kMaxSectors] = {};  // k(s, h, r)
};

// The predicted wind climate: Weibull A (m/s), k and frequency (percent) per
// sector, and A and k for all sectors together.
struct PredictedClimate {
  float weibullA[kMaxSectors] = {};
  float weibullK[kMaxSectors] = {};
  float frequency[kMaxSectors] = {};
  float totalA = 0.0f;
  float totalK = 0.0f;
};

// The observed wind climate as the reader leaves it.
struct ObservedClimate {
  int sectorCount = 0;
  int binCount = 0;
  float upperLimits[kMaxObservedBins] = {};
  float table[kMaxObservedEntries] = {};  // bin b of sector i at (b - 1) * nsec + i - 1
  float sectorFrequency[kMaxObservedBins] = {};
  float directionOffset = 0.0f;
  float latitude = 0.0f;
  float headerSecond = 0.0f;
  float headerThird = -1.0f;
};

}  // namespace kavi::numerics
