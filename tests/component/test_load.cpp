// Many calculations in one process, as a long-running host makes them:
// predictions and atlases alternate, with and without obstacles, on changing
// configurations, on long-lived and on fresh objects, now and then on a map
// that needs the work file and after a calculation that failed on a bad file.
// Identical inputs must give identical results every time, and memory and
// open files must stay flat once warmed up. (bench_load runs the long version.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "support/calculation_objects.h"
#include "support/process_resources.h"
#include "support/ring_maps.h"
#include "support/sanitizer_build.h"
#include "support/test_files.h"

namespace kavi::test {
namespace {

struct Setting {
  const char* id;
  double value;
};
// Every configuration puts the same parameters, so that any of them can follow any other.
const std::vector<std::vector<Setting>> kConfigurations = {
    {{"STDH3", 50}, {"MAXRC", 10}, {"BZAZRES", 5}, {"STABFAC", 0.002}},
    {{"STDH3", 75}, {"MAXRC", 3}, {"BZAZRES", 10}, {"STABFAC", 0.0}},
    {{"STDH3", 40}, {"MAXRC", 7}, {"BZAZRES", 3}, {"STABFAC", 0.004}},
};

enum Kind { kPredictOpen, kAtlasOpen, kPredictSheltered, kAtlasSheltered, kKinds };

// What one calculation gave: the site numbers of a prediction or the text of an atlas.
struct Result {
  std::string outcome;
  SiteNumbers site;
  std::string atlas;
  bool operator==(const Result&) const = default;
};

// The resident set swings by about one model object (some 4 MB) as freed
// objects' pages are kept or given back; its floor does not. The floor over a
// window of rounds after the warm-up and over the last window may differ by
// allocator noise only: a leak of a kilobyte per calculation would exceed it.
constexpr long kAllowedFloorGrowth = 256 << 10;

class Load : public ::testing::Test {
 protected:
  void SetUp() override {
    Kavicalc();
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());  // work files, if any, land here
    map_ = folder_.Path("rings.map");
    spillingMap_ = folder_.Path("spilling.map");
    WriteRingMap(map_, 20, RingKind::kBoth);
    WriteRingMap(spillingMap_, kSpillingRings, RingKind::kBoth);
    WriteWeibullClimate(folder_.Path("station.tab"), TypicalClimate());
    WriteObstacles(folder_.Path("wall.obs"),
                   {{200, 45, 250, 45, 10, 5, 0}, {20, 60, 40, 70, 8, 4, 0.3f}});
    WriteText(folder_.Path("garbled.tab"), "station\n55 10 10\n12 1 0 2\nno numbers\n");
    WriteText(folder_.Path("garbled.lib"), "title\n  5  5 12\n0.000 oops\n");
    ComPtr<IKaviAtlasGenerator> g = Generator(false);
    ASSERT_EQ(OutcomeText(MakeAtlas(g.get(), 0, 0, folder_.Path("station.lib"))), "0x00000000");
  }
  void TearDown() override { std::filesystem::current_path(previousFolder_); }

  ComPtr<IKaviAtlasGenerator> Generator(bool sheltered) {
    ComPtr<IKaviAtlasGenerator> g = NewAtlasGenerator(Kavicalc());
    g->put_MapFile(Bstr(map_.c_str()).get());
    g->put_TabFile(Bstr(folder_.Path("station.tab").c_str()).get());
    g->put_HeightAGL(10.0);
    if (sheltered) g->put_ObstaclesDataFile(Bstr(folder_.Path("wall.obs").c_str()).get());
    return g;
  }
  ComPtr<IKaviAtlasUser> User(bool sheltered, const std::string& map) {
    ComPtr<IKaviAtlasUser> u = NewAtlasUser(Kavicalc());
    u->put_MapFile(Bstr(map.c_str()).get());
    u->put_AtlasFile(Bstr(folder_.Path("station.lib").c_str()).get());
    u->put_HeightAGL(15.0);
    if (sheltered) u->put_ObstaclesDataFile(Bstr(folder_.Path("wall.obs").c_str()).get());
    return u;
  }
  static void Configure(IKaviConfigurable* object, int configuration) {
    for (const Setting& s : kConfigurations[static_cast<std::size_t>(configuration)])
      ASSERT_EQ(SetParameter(object, s.id, s.value), S_OK) << s.id;
  }
  Result Predict(IKaviAtlasUser* user, int configuration) {
    Configure(user, configuration);
    Result r;
    r.outcome = OutcomeText(kavi::test::Predict(user, 150, 50, &r.site));
    return r;
  }
  Result Atlas(IKaviAtlasGenerator* generator, int configuration) {
    Configure(generator, configuration);
    Result r;
    const std::string out = folder_.Path("out.lib");
    r.outcome = OutcomeText(MakeAtlas(generator, 0, 0, out));
    r.atlas = ReadText(out);
    std::filesystem::remove(out);
    return r;
  }
  // A calculation that fails on a bad input file, on the same object.
  void FailOn(IKaviAtlasUser* user) {
    user->put_AtlasFile(Bstr(folder_.Path("garbled.lib").c_str()).get());
    EXPECT_NE(kavi::test::Predict(user, 150, 50).code, S_OK);
    user->put_AtlasFile(Bstr(folder_.Path("station.lib").c_str()).get());
  }
  void FailOn(IKaviAtlasGenerator* generator) {
    generator->put_TabFile(Bstr(folder_.Path("garbled.tab").c_str()).get());
    EXPECT_NE(MakeAtlas(generator, 0, 0, folder_.Path("failed.lib")).code, S_OK);
    generator->put_TabFile(Bstr(folder_.Path("station.tab").c_str()).get());
  }
  bool WorkFilesLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path()))
      if (entry.path().filename().string().rfind("vemowork", 0) == 0) return true;
    return false;
  }

  TempFolder folder_;
  std::filesystem::path previousFolder_;
  std::string map_, spillingMap_;
};

TEST_F(Load, RepeatedCalculationsGiveTheSameResultsInFlatMemory) {
  // The reference: each kind and configuration once, on fresh objects.
  Result reference[kKinds][3];
  for (int c = 0; c < 3; ++c) {
    reference[kPredictOpen][c] = Predict(User(false, map_).get(), c);
    reference[kAtlasOpen][c] = Atlas(Generator(false).get(), c);
    reference[kPredictSheltered][c] = Predict(User(true, map_).get(), c);
    reference[kAtlasSheltered][c] = Atlas(Generator(true).get(), c);
    for (const auto& r : reference) ASSERT_EQ(r[c].outcome, "0x00000000");
  }
  EXPECT_NE(reference[kPredictOpen][0], reference[kPredictSheltered][0]);
  EXPECT_NE(reference[kAtlasOpen][0], reference[kAtlasOpen][1]);
  const Result spillReference = Predict(User(false, spillingMap_).get(), 0);
  ASSERT_EQ(spillReference.outcome, "0x00000000");

  ComPtr<IKaviAtlasUser> openUser = User(false, map_), shelteredUser = User(true, map_);
  ComPtr<IKaviAtlasGenerator> openGenerator = Generator(false),
                              shelteredGenerator = Generator(true);
  const int rounds = Rounds(300, 60);
  const int warmUp = rounds / 5;
  const int window = rounds / 6;
  std::vector<long> resident;
  int warmFiles = 0, mismatches = 0;
  for (int i = 0; i < rounds; ++i) {
    const int kind = i % kKinds;
    const int configuration = (i / kKinds) % 3;
    const bool fresh = i % 11 == 0;
    const bool failFirst = i % 7 == 3;
    Result got;
    if (kind == kPredictOpen || kind == kPredictSheltered) {
      const bool sheltered = kind == kPredictSheltered;
      ComPtr<IKaviAtlasUser> user =
          fresh ? User(sheltered, map_) : (sheltered ? shelteredUser : openUser);
      if (failFirst) FailOn(user.get());
      got = Predict(user.get(), configuration);
    } else {
      const bool sheltered = kind == kAtlasSheltered;
      ComPtr<IKaviAtlasGenerator> generator =
          fresh ? Generator(sheltered) : (sheltered ? shelteredGenerator : openGenerator);
      if (failFirst) FailOn(generator.get());
      got = Atlas(generator.get(), configuration);
    }
    if (got != reference[kind][configuration] && ++mismatches <= 3)
      ADD_FAILURE() << "round " << i << " (kind " << kind << ", configuration " << configuration
                    << (failFirst ? ", after a failure" : "") << "): " << got.outcome;
    if (i % 50 == 25) {
      EXPECT_EQ(Predict(User(false, spillingMap_).get(), 0), spillReference) << "round " << i;
      EXPECT_FALSE(WorkFilesLeft()) << "round " << i;
    }
    if (i + 1 == warmUp) warmFiles = OpenFileCount();
    resident.push_back(ResidentBytes());
  }
  EXPECT_EQ(mismatches, 0);

  const auto floorOf = [&](int first) {
    return *std::min_element(resident.begin() + first, resident.begin() + first + window);
  };
  const long warmFloor = floorOf(warmUp), endFloor = floorOf(rounds - window);
  const long peak = *std::max_element(resident.begin(), resident.end());
  std::cout << "[ memory   ] resident floor after warm-up " << warmFloor / 1024
            << " KiB, at the end " << endFloor / 1024 << " KiB; peak " << peak / 1024
            << " KiB, end " << resident.back() / 1024 << " KiB over " << rounds
            << " calculations\n";
  RecordProperty("resident_kib_floor_after_warm_up", std::to_string(warmFloor / 1024));
  RecordProperty("resident_kib_floor_at_end", std::to_string(endFloor / 1024));
  RecordProperty("resident_kib_peak", std::to_string(peak / 1024));
  RecordProperty("resident_kib_end", std::to_string(resident.back() / 1024));
  EXPECT_EQ(OpenFileCount(), warmFiles);
  // The sanitizer keeps freed memory in quarantine; there the leak check at
  // exit stands in for this comparison.
  if (!SanitizedRun()) {
    EXPECT_LT(endFloor - warmFloor, kAllowedFloorGrowth);
  }
}

}  // namespace
}  // namespace kavi::test
