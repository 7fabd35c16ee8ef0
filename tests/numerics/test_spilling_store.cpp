// The one spilling store behind both crossing lists: records stay in memory
// while they fit, all of them go to one private work file once they do not,
// and a reload brings back exactly the chosen ones in the order they came.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "numerics/grid_crossings.h"
#include "numerics/roughness_crossings.h"
#include "numerics/spilling_store.h"
#include "support/scratch_directory.h"

namespace kavi::numerics {
namespace {

int WorkFiles() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (entry.path().filename().string().rfind("vemowork", 0) == 0) ++count;
  }
  return count;
}

TEST(SpillingStoreTest, SpillsEveryRecordAndReloadsTheChosenInOrder) {
  testing::ScratchWorkingDirectory workingDirectory;
  constexpr int kRoom = 5;
  GridCrossing list[kRoom];
  {
    SpillingStore<GridCrossing> store(list, kRoom);
    for (int i = 0; i < kRoom; ++i) ASSERT_TRUE(store.Add({0.5f * i, i}));
    EXPECT_FALSE(store.spilled());
    EXPECT_EQ(WorkFiles(), 0);
    EXPECT_EQ(store.count(), kRoom);

    for (int i = kRoom; i < 23; ++i) ASSERT_TRUE(store.Add({0.5f * i, i}));
    EXPECT_TRUE(store.spilled());
    EXPECT_EQ(store.total(), 23);
    EXPECT_EQ(WorkFiles(), 1);
    ASSERT_TRUE(store.FinishWriting());

    // Codes 3, 7, 11, 15, 19: the first records (written when the list moved
    // to the file) and later ones alike, in the order added.
    const auto everyFourth = [](const GridCrossing& c) {
      return c.code % 4 == 3 ? Reloaded::kKeep : Reloaded::kSkip;
    };
    ASSERT_TRUE(store.Reload(everyFourth, kRoom));
    ASSERT_EQ(store.count(), 5);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(list[i].code, 3 + 4 * i);
      EXPECT_EQ(list[i].t, 0.5f * (3 + 4 * i));
    }

    // More chosen than the limit or the room, or one record refused: no reload.
    EXPECT_FALSE(store.Reload(everyFourth, 4));
    const auto odd = [](const GridCrossing& c) {
      return c.code % 2 == 1 ? Reloaded::kKeep : Reloaded::kSkip;
    };
    EXPECT_FALSE(store.Reload(odd, 100));
    const auto refuse22 = [](const GridCrossing& c) {
      return c.code == 22 ? Reloaded::kReject : Reloaded::kSkip;
    };
    EXPECT_FALSE(store.Reload(refuse22, kRoom));
    ASSERT_TRUE(store.Reload(everyFourth, kRoom));
    EXPECT_EQ(list[4].code, 19);
  }
  EXPECT_EQ(WorkFiles(), 0);
}

TEST(SpillingStoreTest, RoseStoreReloadsWholeSectorsAndRefusesForeignLines) {
  testing::ScratchWorkingDirectory workingDirectory;
  std::vector<rose::Crossing> list(rose::kMaxCrossingsInMemory);
  constexpr int kMapEntries = 100;
  constexpr int kPerSector = 20000;  // three sectors: 60,000, beyond the memory's 50,000
  rose::CrossingStore store(list.data(), kMapEntries);
  for (int i = 0; i < 3 * kPerSector; ++i) {
    const int sector = i % 3;
    ASSERT_EQ(store.Add({static_cast<float>(i), rose::CrossingCode(sector, 1 + i % 50, false)}),
              kStatusOk);
  }
  // Last, a crossing of a line beyond the map's entries, which no search of
  // this map can have written.
  ASSERT_EQ(store.Add({1.0f, rose::CrossingCode(0, kMapEntries, true)}), kStatusOk);
  ASSERT_TRUE(store.spilled());
  EXPECT_EQ(WorkFiles(), 1);

  ASSERT_EQ(store.LoadSectors(1, 2), 2 * kPerSector);
  for (int k = 0; k < 2 * kPerSector; ++k) {
    // Sectors 1 and 2 alternate as they were added: crossing i = 3·(k div 2) + 1 + k mod 2.
    const int i = 3 * (k / 2) + 1 + k % 2;
    ASSERT_EQ(list[k].distance, static_cast<float>(i)) << k;
    ASSERT_EQ(rose::CrossingSector(list[k].code), 1 + k % 2) << k;
  }
  EXPECT_EQ(store.LoadSectors(0, 0), -1);
  ASSERT_EQ(store.LoadSectors(2, 2), kPerSector);
  EXPECT_EQ(list[kPerSector - 1].distance, static_cast<float>(3 * kPerSector - 1));
}

}  // namespace
}  // namespace kavi::numerics
