// More crossings than memory holds: the rose must not depend on whether the
// crossings stayed in memory or went through the private work file, and the
// work file must be gone afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include "numerics/numerical_state.h"
#include "numerics/roughness_rose_from_map.h"
#include "numerics/support/roughness_map_storage.h"
#include "numerics/support/test_core.h"
#include "support/scratch_directory.h"

namespace kavi::numerics {
namespace {

using test::MapPoint;
using test::RoughnessMapStorage;

constexpr int kRings = 500;  // 108 sub-rays (12 × 9) each: 54,000 crossings
constexpr int kSectors = 12;

// Vertex i of a ring sits at the bearing -15° + 5°·i, so vertices fall on the
// sector boundaries and an arc over whole sectors has exactly the ring's
// vertices. Listed from vertex `from` down to `to`: counter-clockwise.
std::vector<MapPoint> RingArc(double radius, int from, int to) {
  const double kDegree = 0.017453292519943295;
  std::vector<MapPoint> points;
  for (int i = from; i >= to; --i) {
    const double bearing = (-15.0 + 5.0 * (i % 72)) * kDegree;
    points.push_back({radius * std::sin(bearing), radius * std::cos(bearing)});
  }
  return points;
}

// Concentric rings (or arcs of them) with a different roughness between each
// pair, the inner value on the left.
void AddRings(RoughnessMapStorage& map, int from, int to) {
  const float values[4] = {0.02f, 0.3f, 0.001f, 0.8f};
  for (int k = 0; k < kRings; ++k)
    map.AddRoughnessLine(values[k % 4], values[(k + 1) % 4], RingArc(1000.0 + 20.0 * k, from, to));
}

int WorkFilesInWorkingDirectory() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (entry.path().filename().string().rfind("vemowork", 0) == 0) ++count;
  }
  return count;
}

class RoughnessRoseSpillTest : public ::testing::Test {
 protected:
  void SetUp() override { test::SetRoseDefaults(); }
  numerics::testing::ScratchWorkingDirectory workingDirectory_;
  static RoughnessRose Derive(const RoughnessMapStorage& map) {
    RoughnessRose rose;
    test::ResetRose(rose);
    MapRoughnessRose(TestCore(), {map.x(), map.y(), map.lineCount(), map.capacity()}, {0.0f, 0.0f},
                     kSectors, rose);
    return rose;
  }
  static void ExpectSameSector(const RoughnessRose& a, const RoughnessRose& b, int s) {
    SCOPED_TRACE(::testing::Message() << "sector " << s);
    ASSERT_EQ(a.changes[s], b.changes[s]);
    for (int r = 0; r <= a.changes[s]; ++r) EXPECT_EQ(a.z0[r][s], b.z0[r][s]);
    for (int r = 0; r < a.changes[s]; ++r) EXPECT_EQ(a.distance[r][s], b.distance[r][s]);
  }
};

TEST_F(RoughnessRoseSpillTest, SpilledCrossingsGiveTheRoseOfCrossingsInMemory) {
  const int before = WorkFilesInWorkingDirectory();
  // Whole rings: 54,000 crossings, processed in two passes (sectors 1-11, 12).
  RoughnessMapStorage whole;
  AddRings(whole, 72, 0);
  const RoughnessRose spilled = Derive(whole);
  ASSERT_EQ(TestCore().status, kStatusOk);
  EXPECT_EQ(WorkFilesInWorkingDirectory(), before);

  // Arcs over sectors 1-6 and over 7-12: 27,000 crossings each, all in memory,
  // and for their sectors the very same crossings as the whole rings.
  RoughnessMapStorage east;
  AddRings(east, 36, 0);
  const RoughnessRose eastRose = Derive(east);
  RoughnessMapStorage west;
  AddRings(west, 72, 36);
  const RoughnessRose westRose = Derive(west);
  ASSERT_EQ(TestCore().status, kStatusOk);
  for (int s = 0; s < 6; ++s) ExpectSameSector(spilled, eastRose, s);
  for (int s = 6; s < kSectors; ++s) ExpectSameSector(spilled, westRose, s);
  for (int s = 0; s < kSectors; ++s) {
    EXPECT_GE(spilled.changes[s], 1);
    EXPECT_NEAR(spilled.z0[0][s], 0.02f, 1e-7f);  // inside the first ring
  }
}

TEST_F(RoughnessRoseSpillTest, WorkFileThatCannotBeCreatedIsReported) {
  RoughnessMapStorage whole;
  AddRings(whole, 72, 0);
  const std::filesystem::path home = std::filesystem::current_path();
  // Nobody, not even the superuser, creates files in /proc.
  ASSERT_EQ(chdir("/proc"), 0);
  const RoughnessRose rose = Derive(whole);
  ASSERT_EQ(chdir(home.c_str()), 0);
  EXPECT_EQ(TestCore().status, kStatusWorkFileError);
  RoughnessRose untouched;
  test::ResetRose(untouched);
  EXPECT_EQ(std::memcmp(&rose, &untouched, sizeof rose), 0);
}

TEST_F(RoughnessRoseSpillTest, MoreThan50000CrossingsInOneSectorIsTooLarge) {
  // Short arcs across sector 1 only, each crossed by its nine sub-rays.
  RoughnessMapStorage map;
  const int arcs = 50000 / 9 + 1;
  for (int k = 0; k < arcs; ++k)
    map.AddRoughnessLine(0.1f, 0.2f, test::ArcPoints(0.0, 0.0, 1000.0 + k, 14.0, -14.0, 1));
  const RoughnessRose rose = Derive(map);
  EXPECT_EQ(TestCore().status, kStatusMapTooLarge);
  RoughnessRose untouched;
  test::ResetRose(untouched);
  EXPECT_EQ(std::memcmp(&rose, &untouched, sizeof rose), 0);
  EXPECT_EQ(WorkFilesInWorkingDirectory(), 0);
}

}  // namespace
}  // namespace kavi::numerics
