// Working state of the atlas calculation, shared by its steps: the station
// winds per atlas sector and observed bin, and the generalised histogram of
// the roughness class in hand. One set per context, reused by every calculation.
#pragma once

#include "numerics/atlas_calculation.h"
#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// The geostrophic drag law of the atlas calculation at the station's latitude.
struct AtlasDragLaw {
  float coriolis = 0.0f;  // f_eff (1/s), never below that of the lowest latitude used
  float sign = 0.0f;      // ρ = f / f_eff: the hemisphere's sense of turning, 0 on the equator
  float kappa = 0.0f;
  float frictionRatio = 0.0f;  // kFrictionRatio
  float A0 = 0.0f;
  float B0 = 0.0f;
};

// The observed climate as the steps use it.
struct StationClimate {
  int sectors = 0;      // N_s
  int bins = 0;         // N_b
  float offset = 0.0f;  // θ₀ (degrees, reduced to one turn)
  float height = 0.0f;  // z_st (m)
};

// What the steps of the atlas calculation read: the station's climate and
// surroundings, the atlas sector count and the drag law.
struct AtlasInputs {
  const StationClimate& station;
  int sectorCount;  // n
  const SiteEffectTable& effects;
  const RoughnessRose& rose;
  const AtlasDragLaw& law;
};

struct AtlasWorkspace {
  // Observed upper speed limits and F(m, i)·f_m, both cleaned of meaningless
  // values; the frequencies brought near 1 by a power of two.
  float limits[kMaxAtlasObservedBins];
  float weighted[kMaxSectors][kMaxAtlasObservedBins];
  // Per atlas sector j and observed bin i.
  float geostrophic[kMaxSectors][kMaxAtlasObservedBins];  // G(j, i)
  float joint[kMaxSectors][kMaxAtlasObservedBins];        // I(j, i)
  float crossIsobar[kMaxSectors][kMaxAtlasObservedBins];  // α(j, i), degrees
  float total;                                            // Θ
  // Generalised histogram GT(s, i′) of one roughness class.
  float generalised[kMaxSectors][kGeneralisedBins];
};

// The drag law at a latitude (degrees).
AtlasDragLaw MakeAtlasDragLaw(const Context& ctx, float latitude);

}  // namespace kavi::numerics
