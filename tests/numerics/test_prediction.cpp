#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/prediction_bracket.h"
#include "numerics/site_prediction.h"
#include "numerics/support/climate_test_setup.h"
#include "numerics/support/test_core.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {
namespace {

using testing::LoadDefaultParameters;
using testing::NeutralEffects;
using testing::StandardAtlas;
using testing::UniformRose;

constexpr int kSectors = 12;

// An atlas with a logarithmic profile per class, shapes that vary with
// sector and height, and sector frequencies 1 + s (any scale).
AtlasTables ProfileAtlas() {
  AtlasTables atlas = StandardAtlas();
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    const float z0 = atlas.roughness[r];
    for (int s = 0; s < kSectors; ++s) {
      atlas.frequency[r][s] = 1.0f + s + 0.1f * r;
      for (int h = 0; h < atlas.heightCount; ++h) {
        atlas.weibullA[r][h][s] =
            (9.0f + 0.3f * s) * std::log(atlas.heights[h] / z0) / std::log(1e4f / z0);
        atlas.weibullK[r][h][s] = 1.7f + 0.05f * s + 0.002f * atlas.heights[h];
      }
    }
  }
  return atlas;
}

using Prediction = PredictedClimate;

Prediction Predict(const AtlasTables& atlas, float z, const RoughnessRose& rose,
                   const SiteEffectTable& effects = NeutralEffects(), int n = kSectors) {
  Prediction p;
  p.totalA = p.totalK = -1.0f;  // to see that both are written
  PredictSiteClimate(TestCore(), atlas, n, {z, effects, rose}, p);
  return p;
}

double Mean(double A, double k) { return A * std::tgamma(1.0 + 1.0 / k); }
double MeanCube(double A, double k) { return A * A * A * std::tgamma(1.0 + 3.0 / k); }

// Mean speed of atlas class r, height h, sector s after the transfer to the
// site's upstream conditions.
double TransferredMean(const AtlasTables& atlas, int r, int h, int s, const RoughnessRose& rose) {
  float A = atlas.weibullA[r][h][s];
  float k = atlas.weibullK[r][h][s];
  TransferWeibull(TestCore(), A, k, rose,
                  {atlas.roughness[r], atlas.heights[h], atlas.heights[h], s + 1, 2});
  return Mean(A, k);
}

// Every value written is a finite number in its range, and the frequencies
// sum to 100 (or, where allowed, to 0).
void ExpectSane(const Prediction& p, int n = kSectors, bool mayBeEmpty = false) {
  float sum = 0.0f;
  for (int s = 0; s < n; ++s) {
    EXPECT_TRUE(std::isfinite(p.weibullA[s]) && p.weibullA[s] >= 0.0f) << s << " " << p.weibullA[s];
    EXPECT_TRUE(std::isfinite(p.weibullK[s]) && p.weibullK[s] > 0.0f) << s << " " << p.weibullK[s];
    EXPECT_TRUE(std::isfinite(p.frequency[s]) && p.frequency[s] >= 0.0f)
        << s << " " << p.frequency[s];
    sum += p.frequency[s];
  }
  EXPECT_TRUE(std::fabs(sum - 100.0f) < 1e-3f || (mayBeEmpty && sum == 0.0f)) << sum;
  EXPECT_TRUE(std::isfinite(p.totalA) && p.totalA >= 0.0f) << p.totalA;
  EXPECT_TRUE(std::isfinite(p.totalK) && p.totalK > 0.0f) << p.totalK;
}

TEST(BracketRoughness, PicksNeighboursAndExtrapolatesAtTheEnds) {
  const float classes[] = {0.0002f, 0.03f, 0.1f, 0.4f, 1.5f};
  int lo = -1, hi = -1;
  BracketRoughness(0.05f, classes, 5, lo, hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 2);
  BracketRoughness(0.03f, classes, 5, lo, hi);  // equal to a class: it is the upper end
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1);
  BracketRoughness(0.0001f, classes, 5, lo, hi);  // below all: the two lowest
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1);
  BracketRoughness(3.0f, classes, 5, lo, hi);  // above all: the two highest
  EXPECT_EQ(lo, 3);
  EXPECT_EQ(hi, 4);
  BracketRoughness(0.1f, classes, 1, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 0);
  EXPECT_FLOAT_EQ(LogInterpolationWeight(0.1f, 0.03f, 0.1f), 1.0f);
  EXPECT_FLOAT_EQ(LogInterpolationWeight(10.0f, 10.0f, 25.0f), 0.0f);
  EXPECT_NEAR(LogInterpolationWeight(5.0f, 10.0f, 25.0f), std::log(0.5) / std::log(2.5), 1e-6);
  EXPECT_EQ(LogInterpolationWeight(5.0f, 10.0f, 10.0f), 0.0f);
  EXPECT_EQ(LogInterpolationWeight(-5.0f, 10.0f, 25.0f), 0.0f);
}

TEST(PredictSiteClimate, StandardHeightAndClassReproduceTheTransferredAtlas) {
  LoadDefaultParameters();
  const AtlasTables atlas = ProfileAtlas();
  const RoughnessRose rose = UniformRose(0.1f);  // class 3
  for (int h = 0; h < atlas.heightCount; ++h) {
    const Prediction p = Predict(atlas, atlas.heights[h], rose);
    float frequencies = 0.0f;
    for (int s = 0; s < kSectors; ++s) frequencies += atlas.frequency[2][s];
    for (int s = 0; s < kSectors; ++s) {
      float A = atlas.weibullA[2][h][s];
      float k = atlas.weibullK[2][h][s];
      TransferWeibull(TestCore(), A, k, rose, {0.1f, atlas.heights[h], atlas.heights[h], s + 1, 2});
      EXPECT_NEAR(p.weibullA[s], A, A * 1e-3f) << h << " " << s;
      EXPECT_NEAR(p.weibullK[s], k, 0.003f) << h << " " << s;
      EXPECT_NEAR(p.frequency[s], 100.0f * atlas.frequency[2][s] / frequencies, 1e-4f);
    }
    ExpectSane(p);
  }
}

TEST(PredictSiteClimate, InterpolatesAndExtrapolatesInLogHeightAndLogRoughness) {
  LoadDefaultParameters();
  const AtlasTables atlas = ProfileAtlas();
  const RoughnessRose rose = UniformRose(0.05f);  // between classes 2 and 3
  const double wr = std::log(0.05 / 0.03) / std::log(0.1 / 0.03);
  struct Case {
    float z;
    int hl, hu;
  };
  for (const Case& c : {Case{35.0f, 1, 2}, Case{4.0f, 0, 1}, Case{300.0f, 3, 4}}) {
    const Prediction p = Predict(atlas, c.z, rose);
    const double wh =
        std::log(c.z / atlas.heights[c.hl]) / std::log(atlas.heights[c.hu] / atlas.heights[c.hl]);
    for (int s : {0, 5, 11}) {
      const double U = wh * wr * TransferredMean(atlas, 2, c.hu, s, rose) +
                       wh * (1 - wr) * TransferredMean(atlas, 1, c.hu, s, rose) +
                       (1 - wh) * wr * TransferredMean(atlas, 2, c.hl, s, rose) +
                       (1 - wh) * (1 - wr) * TransferredMean(atlas, 1, c.hl, s, rose);
      EXPECT_NEAR(Mean(p.weibullA[s], p.weibullK[s]), U, U * 1e-3) << c.z << " " << s;
    }
    ExpectSane(p);
  }
}

TEST(PredictSiteClimate, TurnedSectorSplitsItsFrequencyByOverlap) {
  LoadDefaultParameters();
  AtlasTables atlas = ProfileAtlas();
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    for (int s = 1; s < kSectors; ++s) atlas.frequency[r][s] = 0.0f;  // only the north
  }
  const RoughnessRose rose = UniformRose(0.1f);
  const Prediction plain = Predict(atlas, 50.0f, rose);
  EXPECT_FLOAT_EQ(plain.frequency[0], 100.0f);

  // Every sector turned 10° clockwise: the north sector [−15°, 15°] becomes
  // [−5°, 25°], two thirds in sector 1 and one third in sector 2.
  SiteEffectTable effects = NeutralEffects();
  for (int s = 0; s < kSectors; ++s) effects.turning[EffectIndex(2, s, kSectors)] = 10.0f;
  Prediction p = Predict(atlas, 50.0f, rose, effects);
  EXPECT_NEAR(p.frequency[0], 200.0f / 3.0f, 1e-3f);
  EXPECT_NEAR(p.frequency[1], 100.0f / 3.0f, 1e-3f);
  EXPECT_NEAR(p.weibullA[0], plain.weibullA[0], 1e-4f * plain.weibullA[0]);
  EXPECT_NEAR(p.weibullA[1], plain.weibullA[0], 1e-4f * plain.weibullA[0]);
  EXPECT_EQ(p.weibullA[2], 0.0f);
  EXPECT_EQ(p.weibullK[2], 2.0f);
  ExpectSane(p);

  // Turnings that make the sector's end fall before its start collapse it
  // to one bearing (20°), whose whole frequency goes to sector 2.
  effects = NeutralEffects();
  effects.turning[EffectIndex(2, 11, kSectors)] = 40.0f;
  effects.turning[EffectIndex(2, 0, kSectors)] = 40.0f;
  effects.turning[EffectIndex(4, 1, kSectors)] = -40.0f;
  p = Predict(atlas, 50.0f, rose, effects);
  EXPECT_EQ(p.frequency[0], 0.0f);
  EXPECT_FLOAT_EQ(p.frequency[1], 100.0f);
  ExpectSane(p);
}

TEST(PredictSiteClimate, SpeedFactorsScaleTheDistribution) {
  LoadDefaultParameters();
  const AtlasTables atlas = ProfileAtlas();
  const RoughnessRose rose = UniformRose(0.03f);
  const Prediction plain = Predict(atlas, 60.0f, rose);
  SiteEffectTable effects = NeutralEffects();
  for (int s = 0; s < kSectors; ++s) {
    effects.speedFactor[EffectIndex(2, s, kSectors)] = 1.25f;  // orography of the source
    effects.speedFactor[EffectIndex(3, s, kSectors)] = 0.8f;   // shelter of the target
    effects.speedFactor[EffectIndex(4, s, kSectors)] = 1.1f;   // roughness changes of both
  }
  const Prediction p = Predict(atlas, 60.0f, rose, effects);
  for (int s = 0; s < kSectors; ++s) {
    EXPECT_NEAR(p.weibullA[s], 1.1f * plain.weibullA[s], 1e-4f * plain.weibullA[s]);
    EXPECT_NEAR(p.weibullK[s], plain.weibullK[s], 1e-4f);
    EXPECT_FLOAT_EQ(p.frequency[s], plain.frequency[s]);
  }
}

TEST(PredictSiteClimate, AllSectorFitKeepsMeanAndMeanCube) {
  LoadDefaultParameters();
  const AtlasTables atlas = ProfileAtlas();
  const Prediction p = Predict(atlas, 80.0f, UniformRose(0.2f));
  double mean = 0.0, cube = 0.0, frequencies = 0.0;
  for (int s = 0; s < kSectors; ++s) {
    mean += p.frequency[s] / 100.0 * Mean(p.weibullA[s], p.weibullK[s]);
    cube += p.frequency[s] / 100.0 * MeanCube(p.weibullA[s], p.weibullK[s]);
    frequencies += p.frequency[s];
  }
  EXPECT_NEAR(frequencies, 100.0, 1e-3);
  EXPECT_NEAR(Mean(p.totalA, p.totalK), mean, mean * 1e-4);
  EXPECT_NEAR(MeanCube(p.totalA, p.totalK), cube, cube * 3e-3);
}

TEST(PredictSiteClimate, SectorsWithoutFrequencyReportAZeroAndK2) {
  LoadDefaultParameters();
  AtlasTables atlas = ProfileAtlas();
  for (int r = 0; r < atlas.roughnessCount; ++r) atlas.frequency[r][3] = 0.0f;
  Prediction p = Predict(atlas, 50.0f, UniformRose(0.1f));
  EXPECT_EQ(p.weibullA[3], 0.0f);
  EXPECT_EQ(p.weibullK[3], 2.0f);
  EXPECT_EQ(p.frequency[3], 0.0f);
  ExpectSane(p);

  // No frequency anywhere: every sector and the total report A = 0, k = 2.
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    for (int s = 0; s < kSectors; ++s) atlas.frequency[r][s] = 0.0f;
  }
  p = Predict(atlas, 50.0f, UniformRose(0.1f));
  for (int s = 0; s < kSectors; ++s) {
    EXPECT_EQ(p.weibullA[s], 0.0f);
    EXPECT_EQ(p.weibullK[s], 2.0f);
    EXPECT_EQ(p.frequency[s], 0.0f);
  }
  EXPECT_EQ(p.totalA, 0.0f);
  EXPECT_EQ(p.totalK, 2.0f);
}

TEST(PredictSiteClimate, WritesOnlyTheSectorsInUse) {
  LoadDefaultParameters();
  const AtlasTables atlas = ProfileAtlas();
  Prediction p;
  for (int s = 0; s < kMaxSectors; ++s) p.weibullA[s] = p.weibullK[s] = p.frequency[s] = -7.0f;
  PredictSiteClimate(TestCore(), atlas, 8, {50.0f, NeutralEffects(), UniformRose(0.1f)}, p);
  ExpectSane(p, 8);
  for (int s = 8; s < kMaxSectors; ++s) EXPECT_EQ(p.weibullA[s], -7.0f);
  // No sectors at all: only the all-sector pair is written.
  PredictSiteClimate(TestCore(), atlas, 0, {50.0f, NeutralEffects(), UniformRose(0.1f)}, p);
  EXPECT_EQ(p.totalA, 0.0f);
  EXPECT_EQ(p.totalK, 2.0f);
  PredictSiteClimate(TestCore(), atlas, 37, {50.0f, NeutralEffects(), UniformRose(0.1f)}, p);
  EXPECT_EQ(p.totalA, 0.0f);
  EXPECT_EQ(p.weibullA[20], -7.0f);
}

TEST(PredictSiteClimate, BadValuesGiveFiniteResults) {
  const float values[] = {0.0f,
                          -3.0f,
                          0.01f,
                          0.1f,
                          1e30f,
                          3e38f,
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()};
  constexpr int kPlaces = 14;
  for (float value : values) {
    for (int place = 0; place < kPlaces; ++place) {
      SCOPED_TRACE(::testing::Message() << "value " << value << " at place " << place);
      LoadDefaultParameters();
      AtlasTables atlas = ProfileAtlas();
      float z = 50.0f;
      RoughnessRose rose = UniformRose(0.1f);
      SiteEffectTable effects = NeutralEffects();
      float* const places[kPlaces] = {&atlas.weibullA[2][2][0],
                                      &atlas.weibullA[1][2][1],
                                      &atlas.weibullK[2][2][3],
                                      &atlas.weibullK[1][1][4],
                                      &atlas.frequency[2][0],
                                      &atlas.frequency[1][5],
                                      &atlas.heights[1],
                                      &atlas.heights[2],
                                      &atlas.roughness[1],
                                      &z,
                                      &rose.z0[1][3],
                                      &effects.speedFactor[EffectIndex(2, 0, kSectors)],
                                      &effects.speedFactor[EffectIndex(4, 2, kSectors)],
                                      &effects.turning[EffectIndex(2, 4, kSectors)]};
      *places[place] = value;
      ExpectSane(Predict(atlas, z, rose, effects));
    }
  }
  // Tables of one class and one height, or none.
  for (int count : {0, 1, 6}) {
    AtlasTables atlas = ProfileAtlas();
    atlas.roughnessCount = count;
    atlas.heightCount = count;
    ExpectSane(Predict(atlas, 50.0f, UniformRose(0.1f)), kSectors, count != 1);
  }
}

}  // namespace
}  // namespace kavi::numerics
