// The saved fuzz inputs, run through the fuzz harnesses with the normal
// compiler (and the sanitizers of the test build): the seed files of every
// reader must be accepted, and neither they nor the inputs that once broke a
// reader (fuzz/regressions/<reader>/) may break any promise of the reader or of
// the calculation steps after it.
//
// The harness sources are compiled into this test directly; their file-local
// names are distinct from one another.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../fuzz/harness/atlas_file_harness.cpp"
#include "../../fuzz/harness/calculation_setup.cpp"
#include "../../fuzz/harness/harness_result.cpp"
#include "../../fuzz/harness/input_file.cpp"
#include "../../fuzz/harness/map_input_harness.cpp"
#include "../../fuzz/harness/observed_climate_harness.cpp"
#include "../../fuzz/harness/obstacle_file_harness.cpp"
#include "../../fuzz/harness/roughness_rose_file_harness.cpp"

namespace kavi::fuzz {
namespace {

namespace fs = std::filesystem;

struct Reader {
  const char* name;  // folder under fuzz/corpus and fuzz/regressions
  HarnessResult (*run)(const std::uint8_t*, std::size_t);
  const char* refused;  // an input the reader must refuse
};

const Reader kReaders[] = {
    {"map_input", RunMapInput, "x not a map\n"},
    {"observed_climate", RunObservedClimate, "title\n1 2 3\n"},
    {"atlas_file", RunAtlasFile, "title\n  5  5 40\n"},
    {"obstacle_file", RunObstacleFile, "title\n1 2 three 4 5 6 0\n"},
    {"roughness_rose_file", RunRoughnessRoseFile, "VEMO 6.0 RRD\n\n7\n"},
};

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (fs::is_directory(dir)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

HarnessResult RunFile(const Reader& reader, const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return reader.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

HarnessResult RunText(const Reader& reader, const std::string& text) {
  return reader.run(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

class SavedFuzzInputs : public testing::TestWithParam<Reader> {};

TEST_P(SavedFuzzInputs, SeedsAreAcceptedAndSavedFailuresStayMended) {
  const Reader& reader = GetParam();
  const fs::path fuzz = fs::path(KAVI_SOURCE_DIR) / "fuzz";

  const std::vector<fs::path> seeds = FilesIn(fuzz / "corpus" / reader.name);
  ASSERT_GE(seeds.size(), 3u) << "seed files of " << reader.name;
  for (const fs::path& seed : seeds) {
    const HarnessResult result = RunFile(reader, seed);
    EXPECT_EQ(result.broken, "") << seed;
    EXPECT_TRUE(result.accepted) << seed;
  }
  for (const fs::path& input : FilesIn(fuzz / "regressions" / reader.name)) {
    EXPECT_EQ(RunFile(reader, input).broken, "") << input;
  }

  // The harness tells a refused file from an accepted one.
  const HarnessResult refused = RunText(reader, reader.refused);
  EXPECT_EQ(refused.broken, "");
  EXPECT_FALSE(refused.accepted);
}

INSTANTIATE_TEST_SUITE_P(Readers, SavedFuzzInputs, testing::ValuesIn(kReaders),
                         [](const testing::TestParamInfo<Reader>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kavi::fuzz
