#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "numerics/atlas_calculation.h"
#include "numerics/atlas_workspace.h"
#include "numerics/support/climate_test_setup.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

using testing::LoadDefaultParameters;
using testing::NeutralEffects;
using testing::StandardAtlas;
using testing::UniformRose;
using testing::WeibullClimate;

constexpr int kSectors = 12;

// A 12-sector climate with unequal sectors: sector i has A = 5 + i/2,
// k = 1.6 + 0.1 i and weight 1 + i (1 m/s bins up to 30 m/s).
ObservedClimate UnevenClimate() {
  float A[kSectors], k[kSectors], weight[kSectors];
  for (int i = 0; i < kSectors; ++i) {
    A[i] = 5.0f + 0.5f * i;
    k[i] = 1.6f + 0.1f * i;
    weight[i] = 1.0f + i;
  }
  return WeibullClimate(kSectors, A, k, weight, 1.0f, 30);
}

float ClassTotal(const AtlasTables& atlas, int r, int n = kSectors) {
  float sum = 0.0f;
  for (int s = 0; s < n; ++s) sum += atlas.frequency[r][s];
  return sum;
}

// Every value the calculation writes is a finite number in its range.
void ExpectSaneAtlas(const AtlasTables& atlas, int n = kSectors) {
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    for (int s = 0; s < n; ++s) {
      EXPECT_TRUE(std::isfinite(atlas.frequency[r][s]) && atlas.frequency[r][s] >= 0.0f);
      for (int h = 0; h < atlas.heightCount; ++h) {
        EXPECT_TRUE(std::isfinite(atlas.weibullA[r][h][s]) && atlas.weibullA[r][h][s] >= 0.0f)
            << r << " " << h << " " << s << " " << atlas.weibullA[r][h][s];
        EXPECT_TRUE(std::isfinite(atlas.weibullK[r][h][s]) && atlas.weibullK[r][h][s] > 0.0f)
            << r << " " << h << " " << s << " " << atlas.weibullK[r][h][s];
      }
    }
  }
}

TEST(AtlasCalculation, PlainSectorsKeepTheirFrequencies) {
  LoadDefaultParameters();
  const ObservedClimate climate = UnevenClimate();  // latitude 0, offset 0
  AtlasTables atlas = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                 atlas);
  EXPECT_EQ(TestCore().status, kStatusOk);
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    for (int s = 0; s < kSectors; ++s) {
      EXPECT_NEAR(atlas.frequency[r][s], climate.sectorFrequency[s], 1e-4f) << r << " " << s;
    }
  }
  ExpectSaneAtlas(atlas);
  // The atlas is smoother over smoother ground and grows with height.
  for (int s = 0; s < kSectors; ++s) {
    EXPECT_GT(atlas.weibullA[0][0][s], atlas.weibullA[4][0][s]);
    for (int h = 1; h < atlas.heightCount; ++h) {
      EXPECT_GT(atlas.weibullA[2][h][s], atlas.weibullA[2][h - 1][s]);
    }
  }
}

TEST(AtlasCalculation, TurnedSectorsStillSumTo100InEveryClass) {
  LoadDefaultParameters();
  ObservedClimate climate = UnevenClimate();
  climate.latitude = 55.0f;
  climate.directionOffset = 7.0f;
  SiteEffectTable effects = NeutralEffects();
  for (int s = 0; s < kSectors; ++s) {
    effects.speedFactor[EffectIndex(2, s, kSectors)] = 0.8f + 0.04f * s;
    effects.speedFactor[EffectIndex(4, s, kSectors)] = 1.1f - 0.02f * s;
    effects.turning[EffectIndex(2, s, kSectors)] = s % 3 == 0 ? 12.0f : -5.0f;
    effects.turning[EffectIndex(3, s, kSectors)] = 2.0f;
  }
  // A turning that reverses one window.
  effects.turning[EffectIndex(2, 5, kSectors)] = 80.0f;
  effects.turning[EffectIndex(2, 6, kSectors)] = -80.0f;
  AtlasTables atlas = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {30.0f, effects, UniformRose(0.05f)}, kSectors, atlas);
  EXPECT_EQ(TestCore().status, kStatusOk);
  for (int r = 0; r < atlas.roughnessCount; ++r) EXPECT_NEAR(ClassTotal(atlas, r), 100.0f, 1e-3f);
  ExpectSaneAtlas(atlas);
}

TEST(AtlasCalculation, SouthernLatitudeMirrorsTheTurning) {
  // All wind from the north: the cross-isobar turning over each class moves
  // part of it into a neighbouring sector, east of north in the north and
  // west of north in the south.
  LoadDefaultParameters();
  float A[kSectors], k[kSectors], weight[kSectors];
  for (int i = 0; i < kSectors; ++i) {
    A[i] = 8.0f;
    k[i] = 2.0f;
    weight[i] = i == 0 ? 1.0f : 0.0f;
  }
  ObservedClimate climate = WeibullClimate(kSectors, A, k, weight, 1.0f, 30);
  AtlasTables north = StandardAtlas();
  AtlasTables south = StandardAtlas();
  climate.latitude = 50.0f;
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.1f)}, kSectors,
                 north);
  climate.latitude = -50.0f;
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.1f)}, kSectors,
                 south);
  // Water turns less than the station's 0.1 m: the turning is visible there.
  EXPECT_GT(north.frequency[0][1], 0.1f);
  EXPECT_NEAR(north.frequency[0][11], 0.0f, 1e-6f);
  for (int r = 0; r < north.roughnessCount; ++r) {
    for (int s = 0; s < kSectors; ++s) {
      const int mirror = (kSectors - s) % kSectors;
      EXPECT_NEAR(north.frequency[r][s], south.frequency[r][mirror], 1e-3f) << r << " " << s;
      EXPECT_NEAR(north.weibullA[r][2][s], south.weibullA[r][2][mirror], 1e-3f);
      EXPECT_NEAR(north.weibullK[r][2][s], south.weibullK[r][2][mirror], 1e-3f);
    }
  }
  // On the equator there is no turning at all.
  climate.latitude = 0.0f;
  AtlasTables equator = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.1f)}, kSectors,
                 equator);
  for (int r = 0; r < equator.roughnessCount; ++r) {
    EXPECT_NEAR(equator.frequency[r][0], 100.0f, 1e-4f);
  }
}

TEST(AtlasCalculation, ZeroStationHeightTakesObservedSpeedsAsGeostrophic) {
  LoadDefaultParameters();
  ObservedClimate climate = UnevenClimate();
  climate.latitude = 45.0f;
  SiteEffectTable effects = NeutralEffects();
  for (int s = 0; s < kSectors; ++s) {
    effects.speedFactor[EffectIndex(2, s, kSectors)] = 1.4f;
    effects.turning[EffectIndex(2, s, kSectors)] = 15.0f * (s % 2);
  }
  AtlasTables plain = StandardAtlas();
  AtlasTables affected = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {0.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                 plain);
  const AtlasWorkspace& work = TestCore().atlasWork;
  for (int j = 0; j < kSectors; ++j) {
    for (int i = 0; i < climate.binCount; ++i) {
      EXPECT_EQ(work.geostrophic[j][i], climate.upperLimits[i]);
      EXPECT_EQ(work.crossIsobar[j][i], 0.0f);
    }
  }
  // Neither the speed-ups nor the turnings of the site take part.
  CalculateAtlas(TestCore(), climate, {0.0f, effects, UniformRose(0.03f)}, kSectors, affected);
  for (int r = 0; r < plain.roughnessCount; ++r) {
    for (int s = 0; s < kSectors; ++s) {
      EXPECT_EQ(plain.frequency[r][s], affected.frequency[r][s]);
      EXPECT_EQ(plain.weibullA[r][0][s], affected.weibullA[r][0][s]);
    }
  }
  // With a station height the drag law lifts the speeds: G is about
  // (u*/κ)·sqrt((ln(u*/(f z0)) − A₀)² + B₀²) with u*/κ = U/ln(z/z0).
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                 affected);
  const double U = climate.upperLimits[9];
  const double scale = U / std::log(10.0 / 0.03);
  const double f = 1.454e-4 * std::sin(45.0 * 0.01745);
  const double G = scale * std::hypot(std::log(0.4 * scale / (f * 0.03)) - 1.8, 4.5);
  EXPECT_NEAR(work.geostrophic[3][9], G, G * 1e-4);
  EXPECT_NEAR(work.crossIsobar[3][9], std::asin(4.5 * scale / G) * 180.0 / 3.14159, 1e-3);
}

TEST(AtlasCalculation, SpeedsAbove50LandInTheLastBin) {
  LoadDefaultParameters();
  ObservedClimate climate;
  climate.sectorCount = kSectors;
  climate.binCount = 3;
  const float limits[] = {200.0f, 400.0f, 600.0f};
  for (int b = 0; b < 3; ++b) {
    climate.upperLimits[b] = limits[b];
    for (int s = 0; s < kSectors; ++s) climate.table[b * kSectors + s] = b == 0 ? 0.0f : 500.0f;
  }
  for (int s = 0; s < kSectors; ++s) climate.sectorFrequency[s] = 100.0f / kSectors;
  // One class (water), so that its histogram is the one left in the workspace.
  AtlasTables atlas = StandardAtlas();
  atlas.roughnessCount = 1;
  CalculateAtlas(TestCore(), climate, {0.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                 atlas);
  const AtlasWorkspace& work = TestCore().atlasWork;
  for (int s = 0; s < kSectors; ++s) {
    for (int b = 0; b < kGeneralisedBins - 1; ++b) EXPECT_EQ(work.generalised[s][b], 0.0f);
    EXPECT_GT(work.generalised[s][kGeneralisedBins - 1], 0.0f);
    // A fit to a histogram at 49–50 m/s.
    const double mean = atlas.weibullA[0][0][s] * std::tgamma(1.0 + 1.0 / atlas.weibullK[0][0][s]);
    EXPECT_GT(mean, 40.0);
    EXPECT_LT(mean, 60.0);
  }
  EXPECT_NEAR(ClassTotal(atlas, 0), 100.0f, 1e-3f);
  ExpectSaneAtlas(atlas);
}

TEST(AtlasCalculation, RefusesWhatItCannotHold) {
  LoadDefaultParameters();
  const ObservedClimate good = UnevenClimate();
  struct Case {
    int bins, climateSectors, atlasSectors, classes, heights;
  };
  const Case cases[] = {{51, 12, 12, 5, 5}, {100, 12, 12, 5, 5}, {-1, 12, 12, 5, 5},
                        {30, 0, 12, 5, 5},  {30, 37, 12, 5, 5},  {30, 12, 0, 5, 5},
                        {30, 12, 37, 5, 5}, {30, 12, 12, 0, 5},  {30, 12, 12, 6, 5},
                        {30, 12, 12, 5, 0}, {30, 12, 12, 5, 6}};
  for (const Case& c : cases) {
    ObservedClimate climate = good;
    climate.binCount = c.bins;
    climate.sectorCount = c.climateSectors;
    AtlasTables atlas = StandardAtlas();
    atlas.roughnessCount = c.classes;
    atlas.heightCount = c.heights;
    atlas.frequency[0][0] = 42.0f;
    TestCore().status = kStatusOk;
    CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.03f)},
                   c.atlasSectors, atlas);
    EXPECT_EQ(TestCore().status, kStatusCannotOpenFile) << c.bins << " " << c.climateSectors;
    EXPECT_EQ(atlas.frequency[0][0], 42.0f);
  }
  // 50 bins is still fine.
  TestCore().status = kStatusOk;
  ObservedClimate climate = good;
  climate.binCount = 50;
  for (int b = 30; b < 50; ++b) climate.upperLimits[b] = b + 1.0f;
  AtlasTables atlas = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                 atlas);
  EXPECT_EQ(TestCore().status, kStatusOk);
}

TEST(AtlasCalculation, BadValuesGiveFiniteAtlases) {
  const float values[] = {0.0f,
                          -3.0f,
                          0.03f,
                          1e30f,
                          3e38f,
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()};
  constexpr int kPlaces = 14;
  for (float value : values) {
    for (int place = 0; place < kPlaces; ++place) {
      SCOPED_TRACE(::testing::Message() << "value " << value << " at place " << place);
      LoadDefaultParameters();
      ObservedClimate climate = UnevenClimate();
      climate.latitude = 40.0f;
      float height = 10.0f;
      RoughnessRose rose = UniformRose(0.03f);
      SiteEffectTable effects = NeutralEffects();
      AtlasTables atlas = StandardAtlas();
      float* const places[kPlaces] = {&climate.table[5],
                                      &climate.table[40],
                                      &climate.sectorFrequency[2],
                                      &climate.upperLimits[0],
                                      &climate.upperLimits[7],
                                      &climate.latitude,
                                      &climate.directionOffset,
                                      &height,
                                      &rose.z0[1][3],
                                      &effects.speedFactor[EffectIndex(2, 1, kSectors)],
                                      &effects.speedFactor[EffectIndex(4, 3, kSectors)],
                                      &effects.turning[EffectIndex(2, 5, kSectors)],
                                      &atlas.heights[0],
                                      &atlas.roughness[3]};
      *places[place] = value;
      CalculateAtlas(TestCore(), climate, {height, effects, rose}, kSectors, atlas);
      EXPECT_EQ(TestCore().status, kStatusOk);
      ExpectSaneAtlas(atlas);
      for (int r = 0; r < atlas.roughnessCount; ++r) {
        EXPECT_NEAR(ClassTotal(atlas, r), 100.0f, 1e-3f) << "class " << r;
      }
    }
  }
}

TEST(AtlasCalculation, EmptyClimatesGiveEmptyAtlases) {
  LoadDefaultParameters();
  ObservedClimate climates[3] = {UnevenClimate(), UnevenClimate(), UnevenClimate()};
  climates[0].binCount = 0;
  std::fill(std::begin(climates[1].table), std::end(climates[1].table), 0.0f);
  std::fill(std::begin(climates[2].sectorFrequency), std::end(climates[2].sectorFrequency), 0.0f);
  for (const ObservedClimate& climate : climates) {
    AtlasTables atlas = StandardAtlas();
    CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                   atlas);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectSaneAtlas(atlas);
    for (int r = 0; r < atlas.roughnessCount; ++r) EXPECT_EQ(ClassTotal(atlas, r), 0.0f);
  }
  // Empty sectors among full ones get no frequency; the others still sum to 100.
  ObservedClimate climate = UnevenClimate();
  for (int s = 0; s < kSectors; s += 2) climate.sectorFrequency[s] = 0.0f;
  AtlasTables atlas = StandardAtlas();
  CalculateAtlas(TestCore(), climate, {10.0f, NeutralEffects(), UniformRose(0.03f)}, kSectors,
                 atlas);
  ExpectSaneAtlas(atlas);
  EXPECT_EQ(atlas.frequency[1][4], 0.0f);
  EXPECT_NEAR(ClassTotal(atlas, 1), 100.0f, 1e-3f);
}

}  // namespace
}  // namespace kavi::numerics
