#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "numerics/obstacle_footprint.h"
#include "numerics/shelter_records.h"
#include "support/shelter_test_support.h"

namespace kavi::numerics {
namespace {

using testing::BuildFromInput;
using testing::Decode;
using testing::InDirection;
using testing::NewRecordList;
using testing::ObstacleRow;
using testing::Record;
using testing::SetInput;

constexpr int kTwelveSectors = 9 * 12;  // 108 fine directions of 10/3 degrees
constexpr float kW12 = 360.0f / kTwelveSectors;

// Bearing (degrees) and distance of the point (x east, y north).
ObstacleRow Face(float x1, float y1, float x2, float y2, float h, float depth, float porosity) {
  const double rad = 180.0 / 3.14159265358979;
  return {static_cast<float>(std::atan2(x1, y1) * rad),
          std::hypot(x1, y1),
          static_cast<float>(std::atan2(x2, y2) * rad),
          std::hypot(x2, y2),
          h,
          depth,
          porosity};
}

bool SameRecords(const ShelterRecordList& a, const ShelterRecordList& b) {
  if (a.count != b.count || a.distanceScale != b.distanceScale) return false;
  for (int i = 0; i < a.count; ++i) {
    const ShelterRecord& p = a.records[i];
    const ShelterRecord& q = b.records[i];
    if (p.key != q.key || p.farDistance != q.farDistance || p.height != q.height ||
        p.openness != q.openness) {
      return false;
    }
  }
  return true;
}

TEST(ShelterRecords, NarrowObstacleSharesItsCoverageBetweenTwoDirections) {
  // Corners at 10.2 and 10.9 degrees lie between the fine directions 3 (10 deg)
  // and 4 (13.33 deg). Width 0.7 deg: coverage M = 0.7 / (10/3) = 0.21, split by
  // the gaps 0.2 and 2.4333 deg: O = 0.2 / 2.6333 = 0.075949.
  auto list = NewRecordList();
  SetInput({{10.2f, 30, 10.9f, 31, 5, 0, 0.25f}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  const std::vector<Record> records = Decode(*list);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].direction, 3);
  EXPECT_EQ(records[1].direction, 4);
  // Bearings pass through sums of up to 900 degrees: about 1e-4 degrees of
  // rounding, 3e-5 in a coverage.
  const float solid = 0.75f;
  const float first = (1 - records[0].openness) / solid;
  const float second = (1 - records[1].openness) / solid;
  EXPECT_NEAR(first, 0.194051f, 5e-5f);
  EXPECT_NEAR(second, 0.015949f, 5e-5f);
  EXPECT_NEAR(first + second, 0.7f / kW12, 5e-5f);
  for (const Record& r : records) {
    EXPECT_NEAR(r.nearDistance, 30.0f, 1e-4f);  // the nearer corner
    EXPECT_NEAR(r.farDistance, 31.0f, 1e-4f);   // no depth: the farther corner
    EXPECT_EQ(r.height, 5.0f);
  }

  // Just west of north the second direction wraps round to 0.
  SetInput({{-0.6f, 30, -0.2f, 30, 5, 0, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  const std::vector<Record> wrapped = Decode(*list);
  ASSERT_EQ(wrapped.size(), 2u);
  EXPECT_EQ(wrapped[0].direction, 0);
  EXPECT_EQ(wrapped[1].direction, kTwelveSectors - 1);
  EXPECT_NEAR((1 - wrapped[0].openness) + (1 - wrapped[1].openness), 0.4f / kW12, 5e-5f);
}

TEST(ShelterRecords, ZeroWidthGivesNoRecords) {
  auto list = NewRecordList();
  // Both corners and the back corner on one bearing.
  SetInput({{12, 30, 12, 40, 5, 0, 0}, {12, 30, 12, 30.5f, 5, 0, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  EXPECT_EQ(list->count, 0);
  EXPECT_EQ(list->distanceScale, 0.0f);
}

TEST(ShelterRecords, FenceAcrossNorthHasOneRecordPerDirection) {
  // A thin fence from (-20, 50) to (20, 50): bearings -21.80 to 21.80 degrees,
  // so fine directions 102 … 107 and 0 … 6; the ray at bearing b meets it at
  // 50 / cos b and leaves where it entered.
  auto list = NewRecordList();
  SetInput({Face(-20, 50, 20, 50, 4, 0, 0)});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  const std::vector<Record> records = Decode(*list);
  ASSERT_EQ(records.size(), 13u);
  const double rad = 3.14159265358979 / 180.0;
  for (int k : {102, 105, 107, 0, 1, 6}) {
    const std::vector<Record> at = InDirection(records, k);
    ASSERT_EQ(at.size(), 1u) << k;
    const float expected = static_cast<float>(50.0 / std::cos(k * (10.0 / 3.0) * rad));
    EXPECT_NEAR(at[0].nearDistance, expected, 2e-3f) << k;
    EXPECT_NEAR(at[0].farDistance, at[0].nearDistance, 2e-3f) << k;
    // Width 43.603 degrees spread over 13 directions of 10/3 degrees.
    EXPECT_NEAR(at[0].openness, 1 - 43.6028f / (13 * kW12), 2e-5f);
  }
  // Sorted by key: directions in order, and the scale is 1.01 times the
  // farthest near distance (direction 102, at 20 degrees: 53.209 m).
  for (int i = 1; i < list->count; ++i) EXPECT_LT(list->records[i - 1].key, list->records[i].key);
  EXPECT_NEAR(list->distanceScale, 1.01f * 53.2089f, 2e-3f);
}

TEST(ShelterRecords, FarDistanceIsWhereTheRayLeavesTheObstacle) {
  // A building 10 m wide and 10 m deep, its front 20 m north of the site.
  auto list = NewRecordList();
  SetInput({Face(-5, 20, 5, 20, 8, 10, 0)});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  const std::vector<Record> records = Decode(*list);
  // Due north: in at the front (20 m), out at the back (30 m).
  const std::vector<Record> north = InDirection(records, 0);
  ASSERT_EQ(north.size(), 1u);
  EXPECT_NEAR(north[0].nearDistance, 20.0f, 1e-3f);
  EXPECT_NEAR(north[0].farDistance, 30.0f, 1e-3f);
  // 3.33 degrees: out at the back, 30 / cos 3.33 = 30.0508 m.
  const std::vector<Record> d1 = InDirection(records, 1);
  ASSERT_EQ(d1.size(), 1u);
  EXPECT_NEAR(d1[0].nearDistance, 20.0339f, 1e-3f);
  EXPECT_NEAR(d1[0].farDistance, 30.0508f, 1e-3f);
  // 10 degrees: in at the front (20 / cos 10 = 20.3085 m), out through the
  // east side x = 5 (5 / sin 10 = 28.7939 m).
  const std::vector<Record> d3 = InDirection(records, 3);
  ASSERT_EQ(d3.size(), 1u);
  EXPECT_NEAR(d3[0].nearDistance, 20.3085f, 1e-3f);
  EXPECT_NEAR(d3[0].farDistance, 28.7939f, 1e-3f);
  // 346.67 degrees: out through the west side x = -5 (5 / sin 13.33 = 21.6811 m).
  const std::vector<Record> d104 = InDirection(records, 104);
  ASSERT_EQ(d104.size(), 1u);
  EXPECT_NEAR(d104[0].nearDistance, 20.5540f, 1e-3f);
  EXPECT_NEAR(d104[0].farDistance, 21.6811f, 1e-3f);
  // The back corner (-5, 30) widens the range to bearing 350.54 only; the
  // front corners span 345.96 … 14.04: directions 104 … 107 and 0 … 4.
  EXPECT_EQ(records.size(), 9u);
}

TEST(ShelterRecords, ASideFaceSeenFromTheSiteIsEnteredThere) {
  // Face from (10, 20) to (20, 20), 10 m deep: the west side x = 10 faces the
  // site and the back corner (10, 30) sets the lowest bearing, 18.43 degrees.
  // The ray at 20 degrees (direction 6) passes the front face's west end and
  // enters through the side at y = 10 / tan 20 = 27.47 m north.
  ObstacleFootprint footprint;
  ASSERT_TRUE(MakeObstacleFootprint(26.5651f, 22.3607f, 45.0f, 28.2843f, 10, footprint));
  EXPECT_NEAR(footprint.start, 18.4349f, 1e-3f);
  EXPECT_NEAR(footprint.end, 45.0f, 1e-3f);
  const RayCrossing side = CastRay(footprint, 20.0f);
  EXPECT_NEAR(side.nearDistance, 10.0f / std::sin(20.0f * 3.14159265f / 180), 1e-3f);
  EXPECT_NEAR(side.farDistance, 30.0f / std::cos(20.0f * 3.14159265f / 180), 1e-3f);
}

TEST(ShelterRecords, ObstaclesFartherThan200HeightsGiveNoRecords) {
  auto list = NewRecordList();
  // Narrow: nearer corner at exactly 200 h gives nothing, just inside gives two.
  SetInput({{10.2f, 1000, 10.9f, 1001, 5, 0, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  EXPECT_EQ(list->count, 0);
  SetInput({{10.2f, 999, 10.9f, 1001, 5, 0, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  EXPECT_EQ(list->count, 2);
  // Wide: a fence 10 m north, spanning -70 … 70 degrees, whose ends lie beyond
  // 200 h = 21 m. The ray at bearing b meets it at 10 / cos b, within 21 m for
  // |b| <= 61.56 degrees: directions -18 … 18 (60 degrees) of those it spans.
  SetInput({Face(-27.4748f, 10, 27.4748f, 10, 0.105f, 0, 0)});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  EXPECT_EQ(list->count, 37);
  for (const Record& r : Decode(*list)) EXPECT_LE(r.nearDistance, 21.0f);
}

TEST(ShelterRecords, NegativeDepthHasNoEffect) {
  auto with = NewRecordList();
  auto without = NewRecordList();
  SetInput(
      {{10, 50, 40, 60, 8, 12, 0.5f}, {100, 30, 120, 30, 6, -1, 0}, {200, 30, 230, 35, 5, 0, 0}});
  ASSERT_EQ(BuildFromInput(*with, kTwelveSectors), 0);
  SetInput({{10, 50, 40, 60, 8, 12, 0.5f}, {200, 30, 230, 35, 5, 0, 0}});
  ASSERT_EQ(BuildFromInput(*without, kTwelveSectors), 0);
  EXPECT_GT(without->count, 0);
  EXPECT_TRUE(SameRecords(*with, *without));
}

TEST(ShelterRecords, PorosityOutsideZeroToOneCountsAsTheNearerBound) {
  auto list = NewRecordList();
  for (float porosity : {1.0f, 1.5f}) {
    SetInput({Face(-20, 50, 20, 50, 4, 0, porosity)});
    ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
    ASSERT_GT(list->count, 0);
    for (int i = 0; i < list->count; ++i) EXPECT_EQ(list->records[i].openness, 1.0f);
  }
  auto solid = NewRecordList();
  SetInput({Face(-20, 50, 20, 50, 4, 0, 0)});
  ASSERT_EQ(BuildFromInput(*solid, kTwelveSectors), 0);
  SetInput({Face(-20, 50, 20, 50, 4, 0, -0.5f)});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  EXPECT_TRUE(SameRecords(*list, *solid));
}

TEST(ShelterRecords, CapacityOf1000) {
  // With 324 fine directions of 1.111 degrees, a face from bearing -55 to 56
  // degrees 20 m away covers directions 275 … 374: 100 records.
  constexpr int kThirtySixSectors = 9 * 36;
  const ObstacleRow hundred{-55, 20, 56, 20, 10, 0, 0};
  const ObstacleRow one{0.5f, 20, 1.5f, 20.1f, 10, 0, 0};  // spans direction 1 only
  auto list = NewRecordList();
  std::vector<ObstacleRow> rows(10, hundred);
  SetInput(rows);
  ASSERT_EQ(BuildFromInput(*list, kThirtySixSectors), 0);
  EXPECT_EQ(list->count, 1000);

  rows.push_back(one);
  SetInput(rows);
  EXPECT_EQ(BuildFromInput(*list, kThirtySixSectors), kStatusTooManyShelterRecords);
  EXPECT_EQ(list->count, 0);
  EXPECT_EQ(list->distanceScale, 0.0f);

  // The capacity passed in holds for narrow obstacles too: the second record
  // of a narrow obstacle is one too many.
  SetInput({{10.2f, 30, 10.9f, 31, 5, 0, 0}});
  EXPECT_EQ(BuildFromInput(*list, kTwelveSectors, 1), kStatusTooManyShelterRecords);
  EXPECT_EQ(list->count, 0);
  EXPECT_EQ(BuildFromInput(*list, kTwelveSectors, 2), 0);
  EXPECT_EQ(list->count, 2);
}

TEST(ShelterRecords, TitledAndUntitledFilesGiveTheSameRecords) {
  testing::ObstacleFiles files;
  const std::string body = "10 50 40 60 8 12 0.5\n200 30 230 35 5 0 0\n355 25 5 25 3 2 0.3\n";
  auto titled = NewRecordList();
  auto plain = NewRecordList();
  ASSERT_EQ(testing::ReadIntoInput(files.Write("a.txt", "my obstacles\n" + body)), 0);
  ASSERT_EQ(BuildFromInput(*titled, kTwelveSectors), 0);
  ASSERT_EQ(testing::ReadIntoInput(files.Write("b.txt", body)), 0);
  ASSERT_EQ(BuildFromInput(*plain, kTwelveSectors), 0);
  EXPECT_GT(plain->count, 4);
  EXPECT_TRUE(SameRecords(*titled, *plain));
}

TEST(ShelterRecords, FiftyObstaclesAreReadAndSixtyRefused) {
  testing::ObstacleFiles files;
  std::string fifty, sixty;
  for (int i = 0; i < 60; ++i) {
    const std::string line = std::to_string(i * 7) + " 40 " + std::to_string(i * 7 + 5) + " 45 " +
                             std::to_string(2 + i % 5) + " 3 0.2\n";
    if (i < 50) fifty += line;
    sixty += line;
  }
  auto first = NewRecordList();
  ASSERT_EQ(testing::ReadIntoInput(files.Write("fifty.txt", fifty)), 0);
  ASSERT_EQ(BuildFromInput(*first, kTwelveSectors), 0);
  // The obstacles after the 50th are not dropped unseen: the list is too large.
  EXPECT_EQ(testing::ReadIntoInput(files.Write("sixty.txt", sixty)), kStatusTooManyShelterRecords);
  EXPECT_EQ(TestCore().obstacles.count, 0);
}

TEST(ShelterRecords, UnusableShapesAreSkipped) {
  auto list = NewRecordList();
  const float huge = 1e30f;
  const float nan = std::nanf("");
  const std::vector<ObstacleRow> unusable = {
      {10, 30, 10, 30, 5, 3, 0},         // zero-length face
      {10, 30, 10.00001f, 30, 5, 3, 0},  // far shorter than a millimetre
      {10, 30, 40, 30, 0, 3, 0},         // no height
      {10, 30, 40, 30, -5, 3, 0},        // negative height
      {10, -30, 40, 30, 5, 3, 0},        // negative distance
      {10, huge, 40, huge, huge, 3, 0}, {10, 30, 40, 30, 5, huge, 0},
      {nan, 30, 40, 30, 5, 3, 0},       {10, 30, 40, 30, 5, 3, nan},
  };
  for (const ObstacleRow& row : unusable) {
    SetInput({row});
    EXPECT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
    EXPECT_EQ(list->count, 0);
  }
  // Far-off bearings are only bearings.
  auto turned = NewRecordList();
  SetInput({{10 + 3600, 30, 40 - 7200, 31, 5, 3, 0}});
  ASSERT_EQ(BuildFromInput(*turned, kTwelveSectors), 0);
  SetInput({{10, 30, 40, 31, 5, 3, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  EXPECT_EQ(turned->count, list->count);
  // No fine directions: nothing to record.
  EXPECT_EQ(BuildFromInput(*list, 0), 0);
  EXPECT_EQ(list->count, 0);
}

TEST(ShelterRecords, DegenerateButUsableShapes) {
  auto list = NewRecordList();
  // An obstacle whose nearer corner is the site itself: records start at 0 m.
  SetInput({{0, 0, 90, 10, 3, 2, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  ASSERT_GT(list->count, 0);
  for (const Record& r : Decode(*list)) {
    EXPECT_TRUE(std::isfinite(r.nearDistance) && r.nearDistance >= 0);
    EXPECT_GE(r.farDistance, r.nearDistance);
  }
  // All records at 0 m: the keys are the bare directions.
  SetInput({{0, 0, 0.1f, 0, 3, 2, 0}});
  EXPECT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  for (int i = 0; i < list->count; ++i)
    EXPECT_EQ(list->records[i].key, std::trunc(list->records[i].key));

  // A face pointing straight away from the site (both corners on one bearing)
  // with depth: seen edge-on, entered through the side face at corner 1. The
  // ray along the face itself (here exactly direction 3, 10 degrees) runs along
  // it from corner 1 to corner 2.
  SetInput({{10, 30, 10, 60, 5, 8, 0}});
  ASSERT_EQ(BuildFromInput(*list, kTwelveSectors), 0);
  const std::vector<Record> records = Decode(*list);
  ASSERT_FALSE(records.empty());
  for (const Record& r : records) {
    EXPECT_GE(r.nearDistance, 30.0f - 1e-3f);
    EXPECT_LE(r.farDistance, 61.1f);
    EXPECT_GE(r.farDistance, r.nearDistance);
  }
}

}  // namespace
}  // namespace kavi::numerics
