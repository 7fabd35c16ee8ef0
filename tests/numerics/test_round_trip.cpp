// The property the method is trusted for: an atlas generated from a
// station's climate, used to predict at the station itself, gives back the
// station's climate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numerics/atlas_calculation.h"
#include "numerics/site_prediction.h"
#include "numerics/support/climate_test_setup.h"
#include "numerics/support/test_core.h"
#include "numerics/weibull.h"

namespace kavi::numerics {
namespace {

using testing::LoadDefaultParameters;
using testing::NeutralEffects;
using testing::StandardAtlas;
using testing::UniformRose;
using testing::WeibullClimate;

constexpr int kSectors = 12;

// A 12-sector climate in 1 m/s bins up to 30 m/s with a different Weibull
// distribution and frequency in every sector.
ObservedClimate StationClimate(float latitude) {
  float A[kSectors], k[kSectors], weight[kSectors];
  for (int i = 0; i < kSectors; ++i) {
    A[i] = 5.5f + 0.45f * i;
    k[i] = 1.6f + 0.09f * i;
    weight[i] = 3.0f + static_cast<float>((5 * i) % 7);
  }
  ObservedClimate climate = WeibullClimate(kSectors, A, k, weight, 1.0f, 30);
  climate.latitude = latitude;
  return climate;
}

// The climate's own per-sector fits, as the observed-climate loader makes
// them: frequencies times the sector frequency, the last bin left out.
void ObservedFits(const ObservedClimate& climate, float* A, float* k) {
  float x[kMaxObservedBins];
  for (int i = 0; i < climate.sectorCount; ++i) {
    for (int b = 0; b < climate.binCount; ++b) {
      x[b] = climate.table[b * climate.sectorCount + i] * climate.sectorFrequency[i];
    }
    FitWeibull(x, climate.upperLimits, climate.binCount - 1, A[i], k[i]);
  }
}

PredictedClimate Predict(const AtlasTables& atlas, float z, const RoughnessRose& rose) {
  PredictedClimate p;
  PredictSiteClimate(TestCore(), atlas, kSectors, {z, NeutralEffects(), rose}, p);
  return p;
}

void ExpectRoundTrip(float latitude, float height) {
  LoadDefaultParameters(kSectors);
  const ObservedClimate climate = StationClimate(latitude);
  float observedA[kSectors], observedK[kSectors];
  ObservedFits(climate, observedA, observedK);

  // Flat, uniform terrain: no site effects and 0.03 m everywhere.
  const RoughnessRose rose = UniformRose(0.03f);
  AtlasTables atlas = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {height, NeutralEffects(), rose}, kSectors, atlas);
  ASSERT_EQ(TestCore().status, kStatusOk);
  const PredictedClimate p = Predict(atlas, height, rose);

  double worstA = 0.0, worstK = 0.0, worstF = 0.0;
  for (int s = 0; s < kSectors; ++s) {
    const double dA = (p.weibullA[s] - observedA[s]) / observedA[s];
    const double dK = (p.weibullK[s] - observedK[s]) / observedK[s];
    const double dF = p.frequency[s] - climate.sectorFrequency[s];
    EXPECT_LT(std::fabs(dA), 0.03)
        << "sector " << s + 1 << " A " << p.weibullA[s] << " vs " << observedA[s];
    EXPECT_LT(std::fabs(dK), 0.05)
        << "sector " << s + 1 << " k " << p.weibullK[s] << " vs " << observedK[s];
    EXPECT_LT(std::fabs(dF), 0.5) << "sector " << s + 1 << " f " << p.frequency[s];
    worstA = std::max(worstA, std::fabs(dA));
    worstK = std::max(worstK, std::fabs(dK));
    worstF = std::max(worstF, std::fabs(dF));
  }
  std::printf(
      "round trip at %g m, latitude %g: largest deviation A %.2f %%, k %.2f %%, f %.3f pp\n",
      height, latitude, 100.0 * worstA, 100.0 * worstK, worstF);

  // Higher up the wind is stronger in every sector.
  const PredictedClimate higher = Predict(atlas, 2.5f * height, rose);
  for (int s = 0; s < kSectors; ++s)
    EXPECT_GT(higher.weibullA[s], p.weibullA[s]) << "sector " << s + 1;
  EXPECT_GT(higher.totalA, p.totalA);
}

TEST(RoundTrip, StationAtAStandardHeight) { ExpectRoundTrip(55.0f, 10.0f); }

TEST(RoundTrip, StationBetweenStandardHeights) { ExpectRoundTrip(55.0f, 40.0f); }

TEST(RoundTrip, SouthernHemisphereAndEquator) {
  ExpectRoundTrip(-35.0f, 25.0f);
  ExpectRoundTrip(0.0f, 10.0f);
}

}  // namespace
}  // namespace kavi::numerics
