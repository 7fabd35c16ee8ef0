#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/atlas_file.h"
#include "numerics/numerical_state.h"
#include "numerics/support/climate_test_setup.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

int Save(const AtlasTables& atlas, int sectors, const std::string& path,
         const std::string& title = "") {
  TestCore().status = kStatusOk;
  SaveAtlas(TestCore(), atlas, sectors, title, path);
  const int status = TestCore().status;
  TestCore().status = kStatusOk;
  return status;
}

int Load(AtlasTables& atlas, int& sectors, const std::string& path, char* title = nullptr) {
  char scratch[kAtlasTitleWidth];
  TestCore().status = kStatusOk;
  LoadAtlas(TestCore(), atlas, sectors, {title ? title : scratch, kAtlasTitleWidth}, path);
  const int status = TestCore().status;
  TestCore().status = kStatusOk;
  return status;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Repeat(const std::string& field, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += field;
  return text;
}

TEST(AtlasFile, ResetWithTheDefaultConfiguration) {
  testing::LoadDefaultParameters(12);
  AtlasTables atlas;
  ResetAtlas(TestCore(), 5, 5, 12, atlas);
  EXPECT_EQ(atlas.roughnessCount, 5);
  EXPECT_EQ(atlas.heightCount, 5);
  EXPECT_EQ(atlas.roughness[0], 0.0002f);
  EXPECT_EQ(atlas.roughness[1], 0.03f);
  EXPECT_EQ(atlas.roughness[4], 1.5f);
  EXPECT_EQ(atlas.heights[0], 10.0f);
  EXPECT_EQ(atlas.heights[4], 200.0f);
  const double expected = 13.44455 * std::log(10 / 0.03) / std::log(100000 / 0.03);
  for (int s = 0; s < 12; ++s) {
    EXPECT_FLOAT_EQ(atlas.frequency[3][s], 100.0f / 12);
    EXPECT_EQ(atlas.weibullK[4][4][s], 1.9f);
    EXPECT_NEAR(atlas.weibullA[1][0][s], expected, 1e-5);
  }
  EXPECT_NEAR(expected, 5.20, 0.005);
  EXPECT_EQ(atlas.frequency[0][12], 0.0f);  // nothing beyond the sector count
  // At 100 km every class reaches the profile speed.
  SetParameter(kStdHeight5, 100000.0f);
  ResetAtlas(TestCore(), 5, 5, 12, atlas);
  EXPECT_NEAR(atlas.weibullA[2][4][0], 13.44455f, 1e-4f);
}

TEST(AtlasFile, SavedLayout) {
  testing::LoadDefaultParameters(12);
  AtlasTables atlas;
  ResetAtlas(TestCore(), 5, 5, 12, atlas);
  atlas.weibullA[0][0][11] = 12345.678f;  // too wide for its field
  testing::ScratchDirectory dir;
  ASSERT_EQ(Save(atlas, 12, dir.File("atlas.lib")), 0);
  const std::vector<std::string> lines = Lines(dir.Read("atlas.lib"));
  ASSERT_EQ(lines.size(), 4u + 5 * 11);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "  5  5 12");
  EXPECT_EQ(lines[2], "  0.000  0.030  0.100  0.400  1.500");
  EXPECT_EQ(lines[3], "   10.0   25.0   50.0  100.0  200.0");
  EXPECT_EQ(lines[4], Repeat("   8.33", 12));
  EXPECT_EQ(lines[5].substr(0, 7), "   7.26");  // 13.44455 ln(10/0.0002) / ln(1e5/0.0002)
  EXPECT_EQ(lines[5].substr(77), "*******");
  EXPECT_EQ(lines[6], Repeat("   1.90", 12));
  // Such a file cannot be read back.
  AtlasTables loaded;
  int sectors = 0;
  EXPECT_EQ(Load(loaded, sectors, dir.File("atlas.lib")), kStatusCannotOpenFile);
}

TEST(AtlasFile, RoundTripToThePrintedPrecision) {
  std::mt19937 random(5);
  std::uniform_real_distribution<float> value(0.0f, 99.0f);
  AtlasTables atlas;
  atlas.roughnessCount = 4;
  atlas.heightCount = 3;
  const float roughness[] = {0.0001f, 0.0512f, 0.3f, 1.25f};
  const float heights[] = {10.0f, 45.5f, 120.0f};
  std::copy(std::begin(roughness), std::end(roughness), atlas.roughness);
  std::copy(std::begin(heights), std::end(heights), atlas.heights);
  for (int r = 0; r < 4; ++r) {
    for (int s = 0; s < 36; ++s) {
      atlas.frequency[r][s] = value(random);
      for (int j = 0; j < 3; ++j) {
        atlas.weibullA[r][j][s] = value(random);
        atlas.weibullK[r][j][s] = 0.5f + value(random) / 25.0f;
      }
    }
  }
  testing::ScratchDirectory dir;
  ASSERT_EQ(Save(atlas, 36, dir.File("atlas.lib"), "Station 7, 36 sectors"), 0);
  // 36 values a record take three lines.
  EXPECT_EQ(Lines(dir.Read("atlas.lib")).size(), 4u + 4 * 3 * (1 + 2 * 3));
  AtlasTables loaded;
  int sectors = 0;
  char title[kAtlasTitleWidth];
  ASSERT_EQ(Load(loaded, sectors, dir.File("atlas.lib"), title), 0);
  EXPECT_EQ(sectors, 36);
  EXPECT_EQ(std::string(title, 21), "Station 7, 36 sectors");
  EXPECT_EQ(title[kAtlasTitleWidth - 1], ' ');
  EXPECT_EQ(loaded.roughnessCount, 4);
  EXPECT_EQ(loaded.heightCount, 3);
  EXPECT_EQ(loaded.roughness[0], 0.0002f);  // written as 0.000, raised
  EXPECT_EQ(loaded.roughness[1], 0.051f);
  EXPECT_EQ(loaded.heights[1], 45.5f);
  const float tolerance = 0.005f + 1e-5f;
  for (int r = 0; r < 4; ++r) {
    for (int s = 0; s < 36; ++s) {
      EXPECT_NEAR(loaded.frequency[r][s], atlas.frequency[r][s], tolerance);
      for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(loaded.weibullA[r][j][s], atlas.weibullA[r][j][s], tolerance);
        EXPECT_NEAR(loaded.weibullK[r][j][s], atlas.weibullK[r][j][s], tolerance);
      }
    }
  }
}

TEST(AtlasFile, ReadsFreeFormatRecordsOnNewLines) {
  // Values spread over lines as they like; a record's extra values are ignored.
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("hand.lib",
                                     "hand made\r\n1 2\n2 extra\n0.0001\n10\n50\n"
                                     "40 60 99\n5.5\n6.5\n2.0 2.1\n6 7 8\n2.2 2.3\n");
  AtlasTables atlas;
  int sectors = 0;
  ASSERT_EQ(Load(atlas, sectors, path), 0);
  EXPECT_EQ(sectors, 2);
  EXPECT_EQ(atlas.roughness[0], 0.0002f);
  EXPECT_EQ(atlas.heights[1], 50.0f);
  EXPECT_EQ(atlas.frequency[0][1], 60.0f);
  EXPECT_EQ(atlas.weibullA[0][0][1], 6.5f);
  EXPECT_EQ(atlas.weibullK[0][0][1], 2.1f);
  EXPECT_EQ(atlas.weibullA[0][1][1], 7.0f);
  EXPECT_EQ(atlas.weibullK[0][1][0], 2.2f);
}

TEST(AtlasFile, TooManySectorsChangeNothingButTheCount) {
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("wide.lib", "t\n  5  5 40\n");
  AtlasTables atlas;
  atlas.roughnessCount = 3;
  int sectors = 12;
  EXPECT_EQ(Load(atlas, sectors, path), 0);
  EXPECT_EQ(sectors, 40);
  EXPECT_EQ(atlas.roughnessCount, 3);
}

TEST(AtlasFile, RefusedFilesLeaveTheAtlasAsItWas) {
  testing::ScratchDirectory dir;
  const std::string good = "t\n1 1 2\n0.03\n10\n50 50\n5 6\n2 2\n";
  const std::string bad[] = {
      "",
      "title only\n",
      "t\n1 1\n",                                    // counts cut short
      "t\n1.0 1 2\n0.03\n10\n50 50\n5 6\n2 2\n",     // a count with a point
      "t\n6 1 2\n",                                  // more than 5 classes
      "t\n1 6 2\n",                                  // more than 5 heights
      "t\n0 1 2\n",                                  // no class
      "t\n1 1 0\n",                                  // no sector
      "t\n1 1 2\n0.03\n10\n50 50\n5 6\n2\n",         // ends early
      "t\n1 1 2\n0.03\n10\n50 50\n5 ******\n2 2\n",  // asterisks
      "t\n1 1 2\n0.03\n10\n50 NaN\n5 6\n2 2\n",      // not a number
      "t\n1 1 2\n0.03\n10\n50 50\n5 1e39\n2 2\n",    // beyond single precision
      "t\n1 1 2\n0.03\n0\n50 50\n5 6\n2 2\n",        // height 0
      "t\n1 1 2\n0.03\n10\n50 -50\n5 6\n2 2\n",      // negative frequency
      "t\n1 1 2\n0.03\n10\n50 50\n5 -6\n2 2\n",      // negative A
      "t\n1 1 2\n0.03\n10\n50 50\n5 6\n2 0\n",       // k = 0
  };
  for (const std::string& text : bad) {
    AtlasTables atlas;
    atlas.roughnessCount = 3;
    atlas.weibullA[0][0][0] = 4.0f;
    int sectors = 12;
    EXPECT_EQ(Load(atlas, sectors, dir.Write("bad.lib", text)), kStatusCannotOpenFile) << text;
    EXPECT_EQ(sectors, 12) << text;
    EXPECT_EQ(atlas.roughnessCount, 3) << text;
    EXPECT_EQ(atlas.weibullA[0][0][0], 4.0f) << text;
  }
  AtlasTables atlas;
  int sectors = 0;
  EXPECT_EQ(Load(atlas, sectors, dir.Write("good.lib", good)), 0);
  EXPECT_EQ(Load(atlas, sectors, dir.File("missing.lib")), kStatusCannotOpenFile);
  EXPECT_EQ(Load(atlas, sectors, dir.path()), kStatusCannotOpenFile);
}

TEST(AtlasFile, FailedSaveLeavesTheOldFile) {
  testing::LoadDefaultParameters(12);
  AtlasTables atlas;
  ResetAtlas(TestCore(), 5, 5, 12, atlas);
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("atlas.lib", "old contents\n");
  EXPECT_EQ(Save(atlas, 37, path), kStatusCannotOpenFile);  // no such sector count
  EXPECT_EQ(dir.Read("atlas.lib"), "old contents\n");
  EXPECT_EQ(Save(atlas, 12, dir.path()), kStatusCannotOpenFile);  // a directory
  EXPECT_EQ(Save(atlas, 12, dir.File("no/such/folder/atlas.lib")), kStatusCannotOpenFile);
  ASSERT_EQ(Save(atlas, 12, path), 0);
  EXPECT_NE(dir.Read("atlas.lib"), "old contents\n");
  // No temporary file is left behind.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace kavi::numerics
