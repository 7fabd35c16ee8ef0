#include "numerics/observed_climate_fit.h"

#include <algorithm>

#include "numerics/weibull.h"

namespace kavi::numerics {

void FitObservedClimate(const ObservedClimate& climate, float A[kMaxSectors + 1],
                        float k[kMaxSectors + 1]) {
  const int stride = climate.sectorCount;
  const int sectors = std::clamp(stride, 0, kMaxSectors);
  const int bins = std::clamp(climate.binCount, 0, kMaxObservedBins);
  // The last bin takes no part in the fits.
  const int fitted = bins - 1;
  float all[kMaxObservedBins] = {};
  float h[kMaxObservedBins];
  for (int i = 0; i < sectors; ++i) {
    for (int j = 0; j < bins; ++j) {
      h[j] = climate.table[i + j * stride] * climate.sectorFrequency[i];
      all[j] += h[j];
    }
    FitWeibull(h, climate.upperLimits, fitted, A[i], k[i]);
  }
  FitWeibull(all, climate.upperLimits, fitted, A[kAllSectorsSlot], k[kAllSectorsSlot]);
}

}  // namespace kavi::numerics
