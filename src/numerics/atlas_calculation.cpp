#include "numerics/atlas_calculation.h"

#include <algorithm>
#include <cmath>

#include "numerics/atlas_generalisation.h"
#include "numerics/atlas_station_winds.h"
#include "numerics/atlas_workspace.h"
#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/safe_scaling.h"

namespace kavi::numerics {

namespace {

// Coriolis parameter 2Ω (1/s) times sin φ, with φ in degrees converted by
// kCoriolisRadiansPerDegree.
constexpr float kTwiceEarthRotation = 1.454e-4f;
// The lowest latitude (degrees) of the Coriolis parameter when element 44
// gives none that is usable.
constexpr float kFallbackLowestLatitude = 10.0f;
constexpr float kFullTurn = 360.0f;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

bool IsUsable(const ObservedClimate& climate, const AtlasTables& atlas, int sectorCount) {
  return InRange(climate.sectorCount, 1, kMaxSectors) &&
         InRange(climate.binCount, 0, kMaxAtlasObservedBins) &&
         InRange(sectorCount, 1, kMaxSectors) &&
         InRange(atlas.roughnessCount, 1, kMaxStdRoughness) &&
         InRange(atlas.heightCount, 1, kMaxStdHeights);
}

// Copies the observed limits and the products F(m, i)·f_m into the
// workspace. Negative or meaningless values count as 0; the frequencies are
// divided by powers of two so that their products stay far from overflow.
void PrepareObservations(const ObservedClimate& climate, AtlasWorkspace& work) {
  const int ns = climate.sectorCount;
  const int nb = climate.binCount;
  float largestBin = 0.0f;
  float largestSector = 0.0f;
  for (int i = 0; i < nb; ++i) {
    work.limits[i] = NonNegativeOrZero(climate.upperLimits[i]);
    for (int m = 0; m < ns; ++m) {
      largestBin = std::max(largestBin, NonNegativeOrZero(climate.table[i * ns + m]));
    }
  }
  for (int m = 0; m < ns; ++m) {
    largestSector = std::max(largestSector, NonNegativeOrZero(climate.sectorFrequency[m]));
  }
  const float binScale = PowerOfTwoAtLeast(largestBin);
  const float sectorScale = PowerOfTwoAtLeast(largestSector);
  for (int m = 0; m < ns; ++m) {
    const float f = NonNegativeOrZero(climate.sectorFrequency[m]) / sectorScale;
    for (int i = 0; i < nb; ++i) {
      work.weighted[m][i] = NonNegativeOrZero(climate.table[i * ns + m]) / binScale * f;
    }
  }
}

StationClimate MakeStationClimate(const ObservedClimate& climate, float siteHeight) {
  StationClimate station;
  station.sectors = climate.sectorCount;
  station.bins = climate.binCount;
  station.offset =
      std::isfinite(climate.directionOffset) ? std::fmod(climate.directionOffset, kFullTurn) : 0.0f;
  station.height = std::isfinite(siteHeight) ? siteHeight : 0.0f;
  return station;
}

}  // namespace

AtlasDragLaw MakeAtlasDragLaw(const Context& ctx, float latitude) {
  AtlasDragLaw law;
  law.kappa = ctx.Parameter(kVonKarman);
  law.frictionRatio = ctx.Parameter(kFrictionRatio);
  law.A0 = ctx.Parameter(kDragA0);
  law.B0 = ctx.Parameter(kDragB0);
  const float phi = std::isfinite(latitude) ? latitude : 0.0f;
  const float f = kTwiceEarthRotation * std::sin(phi * kCoriolisRadiansPerDegree);
  float lowest =
      kTwiceEarthRotation * std::sin(ctx.Parameter(kLowestLatitude) * kCoriolisRadiansPerDegree);
  if (!(lowest > 0.0f)) {
    lowest = kTwiceEarthRotation * std::sin(kFallbackLowestLatitude * kCoriolisRadiansPerDegree);
  }
  law.coriolis = std::max(std::fabs(f), lowest);
  law.sign = f / law.coriolis;
  return law;
}

void CalculateAtlas(Context& ctx, const ObservedClimate& climate, const SiteConditions& site,
                    int sectorCount, AtlasTables& atlas) {
  if (!IsUsable(climate, atlas, sectorCount)) {
    ctx.SetStatus(kStatusCannotOpenFile);
    return;
  }
  AtlasWorkspace& work = ctx.atlasWork;
  PrepareObservations(climate, work);
  const StationClimate station = MakeStationClimate(climate, site.height);
  const AtlasDragLaw law = MakeAtlasDragLaw(ctx, climate.latitude);
  const AtlasInputs in{station, sectorCount, site.effects, site.rose, law};
  ComputeStationWinds(in, work);
  for (int r = 0; r < atlas.roughnessCount; ++r) GeneraliseRoughnessClass(ctx, r, in, work, atlas);
}

}  // namespace kavi::numerics
