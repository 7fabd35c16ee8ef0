// Degenerate and damaged maps: the rose comes out sound or the status says why,
// never a crash, an out-of-range access or a value that is not a number.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "numerics/numerical_state.h"
#include "numerics/roughness_rose_from_map.h"
#include "numerics/support/roughness_map_storage.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

using test::CirclePoints;
using test::MapPoint;
using test::RoughnessMapStorage;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class RoughnessRoseBadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::SetRoseDefaults();
    test::ResetRose(rose_);
    test::ResetRose(reset_);
  }
  void Derive(float x, float y, int sectors) {
    MapRoughnessRose(TestCore(), {map_.x(), map_.y(), map_.lineCount(), map_.capacity()}, {x, y},
                     sectors, rose_);
  }
  // Every sector in use: 0 … 10 changes, rings finite and not negative,
  // distances finite, positive and in order.
  void ExpectSoundRose(int sectors) const {
    for (int s = 0; s < sectors; ++s) {
      SCOPED_TRACE(::testing::Message() << "sector " << s);
      const int c = rose_.changes[s];
      ASSERT_GE(c, 0);
      ASSERT_LE(c, kMaxRoughnessChanges);
      for (int r = 0; r <= c; ++r) {
        EXPECT_TRUE(std::isfinite(rose_.z0[r][s]));
        EXPECT_GE(rose_.z0[r][s], 0.0f);
      }
      for (int r = 0; r < c; ++r) {
        EXPECT_TRUE(std::isfinite(rose_.distance[r][s]));
        EXPECT_GT(rose_.distance[r][s], 0.0f);
        if (r > 0) {
          EXPECT_GE(rose_.distance[r][s], rose_.distance[r - 1][s]);
        }
      }
    }
  }
  void ExpectUnchanged() const { EXPECT_EQ(std::memcmp(&rose_, &reset_, sizeof rose_), 0); }

  RoughnessMapStorage map_;
  RoughnessRose rose_;
  RoughnessRose reset_;
};

TEST_F(RoughnessRoseBadInputTest, RepeatedPointsChangeNothing) {
  const std::vector<MapPoint> ring = CirclePoints(0.0, 0.0, 1500.0, 90, true);
  map_.AddRoughnessLine(0.05f, 0.4f, ring);
  Derive(0.0f, 0.0f, 12);
  const RoughnessRose clean = rose_;
  std::vector<MapPoint> stuttering;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    for (std::size_t k = 0; k <= i % 3; ++k) stuttering.push_back(ring[i]);
  }
  map_ = RoughnessMapStorage();
  map_.AddRoughnessLine(0.05f, 0.4f, {{700.0, 700.0}, {700.0, 700.0}});  // one place only
  map_.AddRoughnessLine(0.05f, 0.4f, stuttering);
  test::ResetRose(rose_);
  Derive(0.0f, 0.0f, 12);
  EXPECT_EQ(TestCore().status, kStatusOk);
  EXPECT_EQ(std::memcmp(&rose_, &clean, sizeof rose_), 0);
}

TEST_F(RoughnessRoseBadInputTest, PointsExactlyOnTheSite) {
  const float x = 1234.5f;
  const float y = -678.25f;
  const std::vector<std::vector<MapPoint>> lines = {
      {{x, y}, {x + 2000.0, y}, {x + 2000.0, y + 2000.0}},                // starts there
      {{x - 3000.0, y + 100.0}, {x - 10.0, y - 2000.0}, {x, y}},          // ends there
      {{x - 3000.0, y}, {x, y}, {x, y}, {x, y}, {x + 50.0, y + 3000.0}},  // passes there
      {{x, y}, {x, y}, {x, y}},                                           // only there
      {{x, y}, {x, y}, {x + 800.0, y - 800.0}, {x, y}, {x - 800.0, y}, {x, y}}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "line " << i);
    map_ = RoughnessMapStorage();
    map_.AddRoughnessLine(0.3f, 0.01f, lines[i]);
    test::ResetRose(rose_);
    Derive(x, y, 12);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectSoundRose(12);
  }
  // All the lines together, and behind a ring.
  map_ = RoughnessMapStorage();
  map_.AddRoughnessLine(0.1f, 0.6f, CirclePoints(x, y, 5000.0, 72, true));
  for (const auto& line : lines) map_.AddRoughnessLine(0.3f, 0.01f, line);
  Derive(x, y, 36);
  EXPECT_EQ(TestCore().status, kStatusOk);
  ExpectSoundRose(36);
}

TEST_F(RoughnessRoseBadInputTest, FarAwayAndHugeCoordinates) {
  map_.AddRoughnessLine(0.1f, 0.9f, CirclePoints(1.0e6, 0.0, 1000.0, 36, true));
  Derive(0.0f, 0.0f, 12);
  EXPECT_EQ(TestCore().status, kStatusOk);
  ExpectSoundRose(12);
  for (const double far : {1.0e15, 1.0e30, 3.0e38}) {
    SCOPED_TRACE(far);
    map_ = RoughnessMapStorage();
    map_.AddRoughnessLine(0.1f, 0.9f, {{far, -far}, {far, far}, {-far, far}});
    map_.AddRoughnessLine(0.2f, 0.7f, {{far, 1.0}, {-far, 1.0}});
    test::ResetRose(rose_);
    Derive(0.0f, 0.0f, 12);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectSoundRose(12);
  }
}

TEST_F(RoughnessRoseBadInputTest, MapsWithoutUsableRoughnessLinesLeaveTheRose) {
  map_.AddContour(120.0f, CirclePoints(0.0, 0.0, 800.0, 36, true));
  map_.AddLine(0.1f, 0.5f, 0.0f, 36.0f + 1.0f, kNaN, CirclePoints(0.0, 0.0, 900.0, 36, true));
  map_.AddLine(0.1f, 0.5f, 0.0f, 36.0f + 1.0f, 7.0f, CirclePoints(0.0, 0.0, 950.0, 36, true));
  for (const int lines : {map_.lineCount(), 0, -1}) {
    MapRoughnessRose(TestCore(), {map_.x(), map_.y(), lines, map_.capacity()}, {0.0f, 0.0f}, 12,
                     rose_);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectUnchanged();
  }
  // Sector counts the rose cannot hold.
  map_.AddRoughnessLine(0.1f, 0.5f, CirclePoints(0.0, 0.0, 1000.0, 36, true));
  for (const int sectors : {0, -3, 37}) {
    Derive(0.0f, 0.0f, sectors);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectUnchanged();
  }
}

TEST_F(RoughnessRoseBadInputTest, StorageBeyondItsCapacityIsTooLarge) {
  // Lines claimed beyond those stored read as empty lines until the arrays
  // end; a billion of them run past the end.
  map_ = RoughnessMapStorage(2000);
  map_.AddRoughnessLine(0.1f, 0.5f, CirclePoints(0.0, 0.0, 1000.0, 36, true));
  MapRoughnessRose(TestCore(), {map_.x(), map_.y(), map_.lineCount() + 5, 2000}, {0.0f, 0.0f}, 12,
                   rose_);
  EXPECT_EQ(TestCore().status, kStatusOk);
  ExpectSoundRose(12);
  test::ResetRose(rose_);
  MapRoughnessRose(TestCore(), {map_.x(), map_.y(), 1000000000, 2000}, {0.0f, 0.0f}, 12, rose_);
  EXPECT_EQ(TestCore().status, kStatusMapTooLarge);
  ExpectUnchanged();

  // Point counts that are not counts of points that fit.
  for (const float count : {kNaN, kInf, -4.0f, 1.0e12f, 1998.0f}) {
    SCOPED_TRACE(count);
    test::SetRoseDefaults();
    map_ = RoughnessMapStorage(2000);
    map_.AddRoughnessLine(0.1f, 0.5f, CirclePoints(0.0, 0.0, 1000.0, 36, true));
    map_.AddLine(0.1f, 0.5f, 0.0f, count, 1.0f, {{10.0, 10.0}, {20.0, 20.0}});
    Derive(0.0f, 0.0f, 12);
    EXPECT_EQ(TestCore().status, kStatusMapTooLarge);
    ExpectUnchanged();
  }
}

TEST_F(RoughnessRoseBadInputTest, ValuesThatAreNotNumbers) {
  std::vector<MapPoint> ring = CirclePoints(0.0, 0.0, 1000.0, 72, true);
  ring[5].x = std::numeric_limits<double>::quiet_NaN();
  ring[40].y = std::numeric_limits<double>::infinity();
  map_.AddRoughnessLine(0.1f, 0.5f, ring);
  map_.AddRoughnessLine(kNaN, kInf, CirclePoints(0.0, 0.0, 2000.0, 72, true));
  map_.AddRoughnessLine(-1.0f, 1.0e30f, CirclePoints(0.0, 0.0, 3000.0, 72, true));
  map_.AddRoughnessLine(kInf, -kInf, CirclePoints(0.0, 0.0, 4000.0, 72, false));
  Derive(0.0f, 0.0f, 12);
  EXPECT_EQ(TestCore().status, kStatusOk);
  ExpectSoundRose(12);

  // Parameters out of all reason.
  for (const float bad : {kNaN, kInf, -kInf, 0.0f, 1.0e30f}) {
    SCOPED_TRACE(bad);
    for (const Element e :
         {kRoughnessDecayLength, kRoseSubRays, kMaxChangesPerSector, kRoughnessChangeThreshold})
      SetParameter(e, bad);
    test::ResetRose(rose_);
    Derive(0.0f, 0.0f, 12);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectSoundRose(12);
  }
  test::SetRoseDefaults();
  Derive(kNaN, 0.0f, 12);
  ExpectSoundRose(12);
}

TEST_F(RoughnessRoseBadInputTest, RandomTangledMapsAtAwkwardSites) {
  // Crossing, overlapping and self-intersecting lines with sides that do not
  // agree, sites on vertices and anywhere: every rose must still be sound.
  std::mt19937 random(20240607);
  std::uniform_real_distribution<double> coordinate(-5000.0, 5000.0);
  std::uniform_int_distribution<int> points(2, 40);
  const float roughness[] = {0.0f, 0.0002f, 0.03f, 0.1f, 0.5f, 1.5f};
  std::uniform_int_distribution<int> pick(0, 5);
  std::vector<MapPoint> vertices;
  for (int line = 0; line < 300; ++line) {
    std::vector<MapPoint> p;
    const int n = points(random);
    for (int i = 0; i < n; ++i) {
      // Now and then a vertex again, or straight back to the previous one.
      if (!vertices.empty() && random() % 7 == 0)
        p.push_back(vertices[random() % vertices.size()]);
      else if (!p.empty() && random() % 9 == 0)
        p.push_back(p.back());
      else
        p.push_back({std::round(coordinate(random)), std::round(coordinate(random))});
      vertices.push_back(p.back());
    }
    map_.AddRoughnessLine(roughness[pick(random)], roughness[pick(random)], p);
  }
  const int sectorCounts[] = {1, 5, 12, 36};
  for (int trial = 0; trial < 40; ++trial) {
    const MapPoint site = trial % 2 ? vertices[random() % vertices.size()]
                                    : MapPoint{coordinate(random), coordinate(random)};
    const int sectors = sectorCounts[trial % 4];
    SetParameter(kRoseSubRays, static_cast<float>(1 + trial % 12));
    SetParameter(kMaxChangesPerSector, static_cast<float>(trial % 11));
    SCOPED_TRACE(::testing::Message() << "trial " << trial);
    test::ResetRose(rose_);
    Derive(static_cast<float>(site.x), static_cast<float>(site.y), sectors);
    EXPECT_EQ(TestCore().status, kStatusOk);
    ExpectSoundRose(sectors);
  }
}

}  // namespace
}  // namespace kavi::numerics
