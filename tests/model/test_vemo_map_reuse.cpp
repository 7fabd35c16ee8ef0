// A map object that loads the same bytes again keeps its parsed storage; a
// changed file (even of the same size and time stamp) and any load after a
// failed one are read afresh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/vemo_map.h"

namespace kavi::model {
namespace {

// Reaches the storage, to mark it and to see what a load left there.
class InspectedMap : public CVemoMap {
 public:
  float FirstX() const { return mapX_[3]; }  // x of the first point of the first line
  void MarkFirstX(float value) { mapX_[3] = value; }
  int lines() const { return contents_.lineCount; }
  int entries() const { return contents_.entryCount; }
};

std::string MapText(int x) {
  return "+ test map\n\n1\n10 3\n" + std::to_string(x) + " 0  2000 0  2000 2000\n";
}

class MapReuseTest : public ::testing::Test {
 protected:
  void Write(const std::string& text) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << text;
  }
  std::string path_ = (std::filesystem::temp_directory_path() /
                       ("kavi-map-reuse-" + std::to_string(getpid()) + ".map"))
                          .string();
  void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(MapReuseTest, TheSameBytesAreNotParsedAgain) {
  Write(MapText(1000));
  InspectedMap map;
  map.Load(path_);
  EXPECT_EQ(map.FirstX(), 1000.0f);
  EXPECT_EQ(map.lines(), 1);
  // A mark in the storage survives a load of the same bytes: nothing was parsed.
  map.MarkFirstX(-1.0f);
  map.Load(path_);
  EXPECT_EQ(map.FirstX(), -1.0f);
  EXPECT_EQ(map.lines(), 1);
  EXPECT_EQ(map.entries(), 6);
  // The same bytes under another name are the same map too.
  const std::string copy = path_ + ".copy.map";
  std::filesystem::copy_file(path_, copy, std::filesystem::copy_options::overwrite_existing);
  map.Load(copy);
  EXPECT_EQ(map.FirstX(), -1.0f);
  std::filesystem::remove(copy);
}

TEST_F(MapReuseTest, AnEditedFileOfTheSameSizeAndTimeIsReadAgain) {
  Write(MapText(1000));
  const auto stamp = std::filesystem::last_write_time(path_);
  InspectedMap map;
  map.Load(path_);
  Write(MapText(1500));
  std::filesystem::last_write_time(path_, stamp);
  ASSERT_EQ(std::filesystem::file_size(path_), MapText(1000).size());
  map.Load(path_);
  EXPECT_EQ(map.FirstX(), 1500.0f);
}

TEST_F(MapReuseTest, AFailedLoadIsNeverKept) {
  Write(MapText(1000));
  InspectedMap map;
  map.Load(path_);
  Write("not a map\n");
  EXPECT_ANY_THROW(map.Load(path_));
  EXPECT_ANY_THROW(map.Load(path_));  // a failure is not remembered as a map
  // Back to the first bytes: parsed again, since the failure replaced them.
  Write(MapText(1000));
  map.MarkFirstX(-1.0f);
  map.Load(path_);
  EXPECT_EQ(map.FirstX(), 1000.0f);
  // A missing file fails however often it is asked for.
  std::filesystem::remove(path_);
  EXPECT_ANY_THROW(map.Load(path_));
  EXPECT_ANY_THROW(map.Load(path_));
}

}  // namespace
}  // namespace kavi::model
