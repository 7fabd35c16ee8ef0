// The shelter model: the speed factor of slot 3 of the site effect table from
// the shelter records of the obstacles around the site.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/shelter_records.h"

namespace kavi::numerics {

struct Context;

// The speed reduction never brings a sector's factor below this.
constexpr float kMinShelterFactor = 0.05f;

// Evaluates the sorted records (as BuildShelterRecords leaves them, over
// nfine = list.fineDirections fine directions) for a point at height z (m)
// above ground, with the site roughness rose.z0[0][j] of the sector j that
// holds the lowest direction with records. Smooths the reduction over
// kShelterSmoothing (degrees) and writes slot 3 of every sector 0 … nsec - 1
// of the site effect table: speed factor max(0.05, 1 - mean reduction),
// turning angle 0. Records outside 0 … nfine - 1 are ignored; a negative or NaN
// height counts as ground level. Without usable records every factor is 1.
// Sets no status.
void ComputeShelter(Context& ctx, const ShelterRecordList& list, int nsec, float z,
                    const RoughnessRose& rose, SiteEffectTable& effects);

}  // namespace kavi::numerics
