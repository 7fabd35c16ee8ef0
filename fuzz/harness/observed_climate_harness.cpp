#include <cmath>
#include <cstring>
#include <string>

#include "calculation_setup.h"
#include "finite_values.h"
#include "input_file.h"
#include "numerics/atlas_calculation.h"
#include "numerics/atlas_file.h"
#include "numerics/numerical_state.h"
#include "numerics/observed_climate.h"
#include "numerics/observed_climate_fit.h"
#include "numerics/parameter_elements.h"
#include "reader_harnesses.h"

namespace kavi::fuzz {

namespace {

// The atlas generator's control of the generalised speed bins.
constexpr int kAtlasControl = 50;

// A sum of normalised values, against its target, allowing for the rounding
// of terms that cancel.
bool SumsTo(const float* values, int count, int stride, float target) {
  double sum = 0.0;
  double magnitude = 0.0;
  for (int i = 0; i < count; ++i) {
    sum += values[i * stride];
    magnitude += std::fabs(values[i * stride]);
  }
  return std::fabs(sum - target) <= 1e-3 * target + 1e-5 * magnitude;
}

// The climate as the reader promises to leave it.
void CheckClimate(const numerics::ObservedClimate& c, HarnessResult& r) {
  const int ns = c.sectorCount;
  const int nb = c.binCount;
  if (!r.Expect(ns >= 1 && ns <= numerics::kMaxObservedBins && nb >= 0 &&
                    nb <= numerics::kMaxObservedBins && nb * ns <= numerics::kMaxObservedEntries,
                "climate counts out of range: " + std::to_string(ns) + " sectors, " +
                    std::to_string(nb) + " bins")) {
    return;
  }
  if (!r.Expect(AllFinite(c.upperLimits, nb) && AllFinite(c.table, nb * ns) &&
                    AllFinite(c.sectorFrequency, ns) && std::isfinite(c.directionOffset) &&
                    std::isfinite(c.latitude) && std::isfinite(c.headerSecond) &&
                    std::isfinite(c.headerThird),
                "climate value not finite")) {
    return;
  }
  for (int i = 0; i < ns; ++i) {
    bool empty = true;
    for (int b = 0; b < nb; ++b) empty = empty && c.table[b * ns + i] == 0.0f;
    if (!r.Expect(empty || SumsTo(c.table + i, nb, ns, 1000.0f),
                  "sector " + std::to_string(i + 1) + " does not sum to 1000")) {
      return;
    }
  }
  r.Expect(SumsTo(c.sectorFrequency, ns, 1, 100.0f), "sector frequencies do not sum to 100");
}

// The Weibull fits of the climate (as the histogram object makes them) and
// the atlas calculation at a neutral station of the climate's sector count.
void UseClimate(const numerics::ObservedClimate& c, HarnessResult& r) {
  const int ns = c.sectorCount;
  AdoptSectorCount(ns);
  float A[numerics::kMaxSectors + 1];
  float k[numerics::kMaxSectors + 1];
  numerics::FitObservedClimate(c, A, k);
  // Every fit, the sectors' and the all-sector one, is a distribution.
  for (int i = 0; i <= ns; ++i) {
    const int slot = i < ns ? i : static_cast<int>(numerics::kAllSectorsSlot);
    if (!r.Expect(
            std::isfinite(A[slot]) && std::isfinite(k[slot]) && A[slot] >= 0.0f && k[slot] > 0.0f,
            "Weibull fit of slot " + std::to_string(slot + 1) + ": A " + std::to_string(A[slot]) +
                ", k " + std::to_string(k[slot]))) {
      return;
    }
  }

  HarnessCore().atlasControl = kAtlasControl;
  numerics::AtlasTables atlas;
  const int classes = static_cast<int>(HarnessCore().Parameter(numerics::kNumStdRoughness));
  const int heights = static_cast<int>(HarnessCore().Parameter(numerics::kNumStdHeights));
  numerics::ResetAtlas(HarnessCore(), classes, heights, ns, atlas);
  const numerics::AtlasTables before = atlas;
  const numerics::SiteEffectTable effects = NeutralSiteEffects();
  const numerics::RoughnessRose rose = NeutralRose();
  numerics::CalculateAtlas(HarnessCore(), c, {kSiteHeight, effects, rose}, ns, atlas);
  const int status = HarnessCore().status;
  if (status == numerics::kStatusCannotOpenFile) {
    // Refused (too many bins for the calculation): the atlas is untouched.
    r.Expect(std::memcmp(&atlas, &before, sizeof atlas) == 0, "refused climate changed the atlas");
    return;
  }
  if (!r.Expect(status == numerics::kStatusOk,
                "atlas calculation set status " + std::to_string(status))) {
    return;
  }
  // What the atlas file reader would accept again: finite values, no negative
  // frequency or A, and k above 0.
  for (int cls = 0; cls < classes; ++cls) {
    bool valid = AllFinite(atlas.frequency[cls], ns);
    for (int i = 0; i < ns; ++i) valid = valid && atlas.frequency[cls][i] >= 0.0f;
    for (int h = 0; h < heights; ++h) {
      valid =
          valid && AllFinite(atlas.weibullA[cls][h], ns) && AllFinite(atlas.weibullK[cls][h], ns);
      for (int i = 0; i < ns; ++i) {
        valid = valid && atlas.weibullA[cls][h][i] >= 0.0f && atlas.weibullK[cls][h][i] > 0.0f;
      }
    }
    if (!r.Expect(valid, "atlas class " + std::to_string(cls + 1) + " holds an invalid value"))
      return;
  }
}

}  // namespace

HarnessResult RunObservedClimate(const std::uint8_t* data, std::size_t size) {
  const std::string& path = WriteInputFile(data, size);
  HarnessResult r;
  ResetCalculation();
  numerics::ObservedClimate climate;
  climate.latitude = 55.0f;  // an earlier climate's line 2, kept if the new one has none
  const numerics::ObservedClimate before = climate;
  numerics::ReadObservedClimate(HarnessCore(), climate, path);
  const int status = HarnessCore().status;
  if (status == numerics::kStatusCannotOpenFile) {
    r.Expect(std::memcmp(&climate, &before, sizeof climate) == 0,
             "refused climate file changed the climate");
    return r;
  }
  if (!r.Expect(status == numerics::kStatusOk,
                "climate reader set status " + std::to_string(status)))
    return r;
  CheckClimate(climate, r);
  // More than 36 sectors are refused by the histogram object.
  r.accepted = climate.sectorCount <= numerics::kMaxSectors;
  if (r.broken.empty() && r.accepted) UseClimate(climate, r);
  return r;
}

}  // namespace kavi::fuzz
