#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "numerics/calculation_arrays.h"
#include "numerics/shelter_model.h"
#include "numerics/support/test_core.h"
#include "support/shelter_test_support.h"

namespace kavi::numerics {
namespace {

using testing::ObstacleRow;

constexpr int kSectors = 12;
constexpr int kFine = 9 * kSectors;

// Slot 3 of sector j.
int Slot3(int j, int nsec = kSectors) { return EffectIndex(3, j, nsec); }

class ShelterModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseShelterDefaults();
    SetRoughness(0.05f);
    // Slots 2 and 4 hold something else, slot 3 a stale turning angle.
    for (int i = 0; i < kEffectSlots * kMaxSectors; ++i) {
      table_->speedFactor[i] = 0.5f;
      table_->turning[i] = 7.0f;
    }
  }
  void SetRoughness(float z0) {
    for (float& value : rose_->z0[0]) value = z0;
  }
  // Appends a record by direction and distances; keys are made by Finish().
  void Add(int k, float near, float far, float h, float p) {
    ShelterRecordList& r = *records_;
    r.records[r.count++] = {near, far, h, p, k};
  }
  void Finish() {
    ShelterRecordList& r = *records_;
    float farthest = 0;
    for (int i = 0; i < r.count; ++i) farthest = std::max(farthest, r.records[i].key);
    r.distanceScale = 1.01f * farthest;
    for (int i = 0; i < r.count; ++i) {
      ShelterRecord& record = r.records[i];
      record.key = static_cast<float>(record.direction) + record.key / r.distanceScale;
    }
    SortShelterRecords(r.records, r.count);
  }
  void Compute(float z, int nsec = kSectors) {
    records_->fineDirections = 9 * nsec;
    ComputeShelter(TestCore(), *records_, nsec, z, *rose_, *table_);
  }
  float Factor(int j, int nsec = kSectors) const { return table_->speedFactor[Slot3(j, nsec)]; }

  std::unique_ptr<ShelterRecordList> records_ = testing::NewRecordList();
  std::unique_ptr<RoughnessRose> rose_ = std::make_unique<RoughnessRose>();
  std::unique_ptr<SiteEffectTable> table_ = std::make_unique<SiteEffectTable>();
};

TEST_F(ShelterModelTest, WithoutRecordsEveryFactorIsOne) {
  Compute(10);
  for (int j = 0; j < kSectors; ++j) {
    EXPECT_EQ(Factor(j), 1.0f);
    EXPECT_EQ(table_->turning[Slot3(j)], 0.0f);
    EXPECT_EQ(table_->speedFactor[EffectIndex(2, j, kSectors)], 0.5f);  // other slots untouched
    EXPECT_EQ(table_->speedFactor[EffectIndex(4, j, kSectors)], 0.5f);
  }
}

TEST_F(ShelterModelTest, OneRecordSpreadOverItsNeighbours) {
  // Reduction 0.718970 in direction 0 (see the group test). Smoothed over
  // 2 * trunc(12 / (10/3) + 0.1) + 1 = 7 directions, 105 … 3, all in sector 0,
  // whose nine directions then average to 0.718970 / 9.
  Add(0, 50, 50, 10, 0);
  Finish();
  Compute(10);
  EXPECT_NEAR(Factor(0), 1 - 0.718970f / 9, 3e-5f);
  for (int j = 1; j < kSectors; ++j) EXPECT_EQ(Factor(j), 1.0f);
  for (int j = 0; j < kSectors; ++j) EXPECT_EQ(table_->turning[Slot3(j)], 0.0f);

  // In direction 4, the last of sector 0: four of the seven smoothed
  // directions (1 … 4) fall in sector 0, three (5 … 7) in sector 1.
  records_->count = 0;
  Add(4, 50, 50, 10, 0);
  Finish();
  Compute(10);
  EXPECT_NEAR(Factor(0), 1 - 4 * 0.718970f / 63, 3e-5f);
  EXPECT_NEAR(Factor(1), 1 - 3 * 0.718970f / 63, 3e-5f);
  EXPECT_EQ(Factor(11), 1.0f);
}

TEST_F(ShelterModelTest, PorosityOneGivesNoReduction) {
  testing::SetInput({{-30, 20, 30, 20, 10, 5, 1}, {100, 15, 170, 25, 8, 0, 1}});
  ASSERT_EQ(testing::BuildFromInput(*records_, kFine), 0);
  ASSERT_GT(records_->count, 10);
  Compute(5);
  for (int j = 0; j < kSectors; ++j) EXPECT_EQ(Factor(j), 1.0f);
}

TEST_F(ShelterModelTest, VerySmallRoughnessIsRaised) {
  // With z0 = 0.0002: Lz = ln(10.0006 / 0.0002) = 10.819790, V = 0.999994,
  // R = 0.347806, sector 0 factor 1 - R V / 9 = 0.961355.
  Add(0, 50, 50, 10, 0);
  Finish();
  for (float z0 : {0.0002f, 1e-6f, 0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
    SetRoughness(z0);
    Compute(10);
    EXPECT_NEAR(Factor(0), 0.961355f, 3e-5f) << z0;
  }
}

TEST_F(ShelterModelTest, RoughnessOfTheSectorHalfASectorBelowTheLowestDirection) {
  // The one roughness of the calculation comes from sector trunc(k0·w/e − 0.5)
  // of the lowest direction k0 with records: direction 9 (k0·w/e = 1, the
  // centre of sector 1) takes sector 0's, direction 15 (1.67) sector 1's.
  Add(9, 50, 50, 10, 0);
  Finish();
  Compute(10);
  const float expected = Factor(1);
  EXPECT_NEAR(expected, 1 - 0.718970f / 9, 3e-5f);
  rose_->z0[0][1] = 0.5f;
  rose_->z0[0][2] = 0.8f;
  Compute(10);
  EXPECT_EQ(Factor(1), expected);
  rose_->z0[0][0] = 0.5f;
  Compute(10);
  EXPECT_NE(Factor(1), expected);

  records_->count = 0;
  Add(15, 50, 50, 10, 0);
  Finish();
  Compute(10);
  const float sectorOne = Factor(1);
  rose_->z0[0][0] = 0.8f;
  Compute(10);
  EXPECT_EQ(Factor(1), sectorOne);
}

TEST_F(ShelterModelTest, FactorNeverBelowFloor) {
  // Tall solid walls close to the site in every direction.
  for (int k = 0; k < kFine; ++k) {
    for (int i = 0; i < 9; ++i) Add(k, 5 + 10 * i, 5 + 10 * i, 30, -1);
  }
  Finish();
  Compute(2);
  for (int j = 0; j < kSectors; ++j) EXPECT_EQ(Factor(j), kMinShelterFactor);
}

TEST_F(ShelterModelTest, RecordsOfAnotherDirectionCountAreIgnored) {
  // Records built for 36 sectors evaluated with 12: directions from 108 on do
  // not exist there and are left out rather than read past the array.
  Add(200, 50, 50, 10, 0);
  Add(300, 40, 40, 10, 0);
  Finish();
  Compute(10);
  for (int j = 0; j < kSectors; ++j) EXPECT_EQ(Factor(j), 1.0f);
  Add(0, 50, 50, 10, 0);
  Finish();
  Compute(10);
  EXPECT_NEAR(Factor(0), 1 - 0.718970f / 9, 3e-5f);
}

TEST_F(ShelterModelTest, HeightsOfThePoint) {
  Add(0, 50, 50, 10, 0);
  Finish();
  Compute(0);
  const float ground = Factor(0);
  for (float z : {-5.0f, std::numeric_limits<float>::quiet_NaN()}) {
    Compute(z);
    EXPECT_EQ(Factor(0), ground);
  }
  // Far above the obstacle the shelter vanishes.
  for (float z : {1e4f, 1e30f, std::numeric_limits<float>::infinity()}) {
    Compute(z);
    EXPECT_NEAR(Factor(0), 1.0f, 1e-6f) << z;
  }
}

TEST_F(ShelterModelTest, FromAnObstaclesFile) {
  // A solid barn north-east of the site and a hedge to the south.
  testing::ObstacleFiles files;
  const std::string path = files.Write("farm.txt",
                                       "Farm\n"
                                       "30 40 60 45 8 15 0\n"
                                       "160 60 200 60 3 2 0.5\n");
  ASSERT_EQ(testing::ReadIntoInput(path), 0);
  ASSERT_EQ(testing::BuildFromInput(*records_, kFine), 0);
  Compute(10);
  // Sector 1 (30 degrees) and 2 (60 degrees) behind the barn, sector 6 (180)
  // behind the hedge; west is open.
  EXPECT_LT(Factor(1), 0.95f);
  EXPECT_LT(Factor(2), 0.95f);
  EXPECT_LT(Factor(6), 1.0f);
  EXPECT_GT(Factor(6), Factor(1));  // low and porous shelters less
  EXPECT_EQ(Factor(9), 1.0f);
}

// Obstacles of every kind of nonsense still give finite factors in [0.05, 1].
TEST_F(ShelterModelTest, ArbitraryObstaclesGiveFactorsInRange) {
  std::mt19937 random(2024);
  const float specials[] = {0.0f, -0.0f, 1e-30f, 1e-3f, 0.5f,  1.0f,  5.0f,  200.0f,
                            1e3f, 1e5f,  1e6f,   2e6f,  1e30f, -1.0f, -1e6f, 3e38f};
  auto pick = [&](float typical) {
    if (random() % 4 == 0) return specials[random() % std::size(specials)];
    return typical * static_cast<float>(random() % 10000) / 5000.0f;
  };
  for (int trial = 0; trial < 400; ++trial) {
    const int n = 1 + static_cast<int>(random() % kMaxObstacles);
    std::vector<ObstacleRow> rows;
    for (int i = 0; i < n; ++i) {
      const float a1 = pick(180), r1 = pick(30);
      // Some corners share a bearing or a position.
      const float a2 = random() % 5 == 0 ? a1 : pick(180);
      const float r2 = random() % 5 == 0 ? r1 : pick(30);
      rows.push_back({a1, r1, a2, r2, pick(8), pick(10), pick(0.5f)});
    }
    testing::SetInput(rows);
    const int nsec = 1 + static_cast<int>(random() % kMaxSectors);
    const int status = testing::BuildFromInput(*records_, 9 * nsec);
    ASSERT_TRUE(status == 0 || status == kStatusTooManyShelterRecords);
    SetRoughness(pick(0.1f));
    Compute(pick(20), nsec);
    for (int j = 0; j < nsec; ++j) {
      const float factor = Factor(j, nsec);
      ASSERT_TRUE(factor >= kMinShelterFactor && factor <= 1.0f) << trial << " " << factor;
      ASSERT_EQ(table_->turning[Slot3(j, nsec)], 0.0f);
    }
  }
}

TEST_F(ShelterModelTest, ArbitraryRecordsGiveFactorsInRange) {
  // Record lists not made by the builder: garbage keys, distances, heights
  // and openness.
  std::mt19937 random(77);
  const float values[] = {0.0f,
                          -1.0f,
                          0.3f,
                          1.0f,
                          7.9f,
                          50.0f,
                          107.99f,
                          108.0f,
                          1e6f,
                          -1e30f,
                          1e30f,
                          std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()};
  auto pick = [&] { return values[random() % std::size(values)]; };
  for (int trial = 0; trial < 300; ++trial) {
    ShelterRecordList& r = *records_;
    r.count = static_cast<int>(random() % 50);
    for (int i = 0; i < r.count; ++i) {
      r.records[i].key = pick();
      r.records[i].farDistance = pick();
      r.records[i].height = pick();
      r.records[i].openness = pick();
    }
    r.distanceScale = pick();
    Compute(pick());
    for (int j = 0; j < kSectors; ++j) {
      ASSERT_TRUE(Factor(j) >= kMinShelterFactor && Factor(j) <= 1.0f) << trial;
    }
  }
}

}  // namespace
}  // namespace kavi::numerics
