// The Weibull fits of an observed wind climate, per sector and for all
// sectors together.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

constexpr int kAllSectorsSlot = kMaxSectors;  // slot of the all-sector fit

// Fits Weibull A and k per sector (slots 0 … N_s − 1) and for all sectors
// together (slot 36) to the climate's frequencies weighted by the sector
// frequencies, over its first N_b − 1 bins. The climate has at most 36 sectors.
void FitObservedClimate(const ObservedClimate& climate, float A[kMaxSectors + 1],
                        float k[kMaxSectors + 1]);

}  // namespace kavi::numerics
