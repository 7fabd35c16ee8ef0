// Truncated, garbled and oversized input for the map, observed-climate and
// atlas readers: every file ends in one of the statuses the reader may give,
// with consistent, finite results, and (under the sanitizers) without a read
// or write outside the arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "numerics/atlas_file.h"
#include "numerics/constants.h"
#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "numerics/observed_climate.h"
#include "numerics/observed_climate_fit.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

const std::string kMap =
    "+ fuzz map\n0 0 1000 2000\n100 0 1000 2100\n0.5 10\n"
    "0.03 0.1 120 4\n1 1 2 2\n3 3 4 4\n"
    "0.03 0.1 3\n1.5D1 2 3E1 4 5 6\n"
    "120 5\n1 1, 2 2\t3 3 4 4 5 5 9 9\n";
const std::string kClimate =
    "station\n55.0 12.0 10.0\n3 1.0 0.0 0\n30 30 40\n"
    "2 10 20 30\n4 30 30 30\n6 40 25 20\n8 20 25 20\n";
const std::string kWeibullClimate = "station\n55 12 10\n2 1 0 2\n40 60\n7 9\n1.8 2.2\n";
const std::string kAtlas =
    "title\n  2  2  3\n  0.030  0.100\n   10.0   50.0\n"
    "  30.00  30.00  40.00\n   5.00   6.00   7.00\n   2.00   2.10   2.20\n"
    "   6.00   7.00   8.00\n   2.00   2.10   2.20\n"
    "  35.00  30.00  35.00\n   4.00   5.00   6.00\n   1.90   2.00   2.10\n"
    "   5.00   6.00   7.00\n   1.90   2.00   2.10\n";

// Cut short, bytes replaced, and bytes inserted, from a valid file.
std::vector<std::string> Garbled(const std::string& valid, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> files;
  for (std::size_t cut = 0; cut <= valid.size(); ++cut) files.push_back(valid.substr(0, cut));
  const char interesting[] = {'\0', '\n', '\r', ' ', ',', '-', '+', '.', 'D', 'E', '*', '9'};
  for (int i = 0; i < 400; ++i) {
    std::string text = valid;
    for (int changes = 1 + random() % 3; changes > 0; --changes) {
      const std::size_t at = random() % text.size();
      const char c = random() % 2 ? interesting[random() % sizeof interesting]
                                  : static_cast<char>(random() % 256);
      if (random() % 2) {
        text[at] = c;
      } else {
        text.insert(at, 1, c);
      }
    }
    files.push_back(text);
  }
  for (int i = 0; i < 20; ++i) {
    std::string noise(random() % 3000, '\0');
    for (char& c : noise) c = static_cast<char>(random() % 256);
    files.push_back(noise);
  }
  return files;
}

// Values that no reader should take for a number in range, and oversized lines.
std::vector<std::string> Hostile(const std::string& valid) {
  std::vector<std::string> files;
  const std::string numbers[] = {"NaN",
                                 "nan",
                                 "Infinity",
                                 "-inf",
                                 "1e39",
                                 "-1e39",
                                 "1D400",
                                 std::string(400, '9'),
                                 "1" + std::string(400, '0') + ".5",
                                 std::string(1 << 20, '7')};
  for (const std::string& number : numbers) {
    // Put it in place of each number of the valid file in turn (every third).
    for (std::size_t at = 0, n = 0; at < valid.size(); ++at) {
      const bool starts = (std::isdigit(static_cast<unsigned char>(valid[at])) != 0) &&
                          (at == 0 || valid[at - 1] == ' ' || valid[at - 1] == '\n');
      if (starts && n++ % 3 == 0) {
        std::size_t end = at;
        while (end < valid.size() && valid[end] != ' ' && valid[end] != '\n') ++end;
        files.push_back(valid.substr(0, at) + number + valid.substr(end));
      }
    }
  }
  files.push_back(valid + std::string(1 << 20, ' ') + "\n");
  files.push_back(std::string(1 << 20, '+') + "\n" + valid);
  files.push_back(valid + std::string(1 << 20, '1') + " 2\n");
  return files;
}

bool InSet(int status, std::initializer_list<int> allowed) {
  for (int s : allowed) {
    if (s == status) return true;
  }
  return false;
}

class InputFuzz : public ::testing::Test {
 protected:
  void TearDown() override { TestCore().status = kStatusOk; }

  // Loads the map and checks what it stored; returns the status.
  int CheckMap(const std::string& path, int capacity) {
    // Storage reused between files: stale values must not matter.
    X_.resize(capacity);
    Y_.resize(capacity);
    float* X = X_.data();
    float* Y = Y_.data();
    MapContents contents;
    TestCore().status = kStatusOk;
    MapInput(TestCore(), path, X_, Y_, contents);
    const auto [lines, entries, kind] = contents;
    const int status = TestCore().status;
    EXPECT_TRUE(InSet(status, {0, kStatusCannotOpenFile, kStatusMapError, kStatusMapTooLarge}));
    if (status == kStatusCannotOpenFile) {
      EXPECT_EQ(lines, -1);
      return status;
    }
    if (status == kStatusMapError) {
      EXPECT_EQ(lines, 0);
      EXPECT_EQ(entries, 0);
      EXPECT_EQ(kind, 0);
      return status;
    }
    EXPECT_TRUE(kind >= 0 && kind <= 2);
    EXPECT_LE(entries, capacity);
    int k = 0;
    for (int line = 0; line < lines; ++line) {
      const float n = Y[k];
      EXPECT_TRUE(n >= 2 && k + 3 + n <= capacity) << n;
      if (!(n >= 2 && k + 3 + n <= capacity)) return status;
      for (int e = k; e < k + 3 + static_cast<int>(n); ++e) {
        EXPECT_TRUE(std::isfinite(X[e]) && std::isfinite(Y[e])) << e;
      }
      k += 3 + static_cast<int>(n);
    }
    EXPECT_EQ(k, entries);
    return status;
  }

  int CheckClimate(const std::string& path) {
    ObservedClimate climate;
    TestCore().status = kStatusOk;
    ReadObservedClimate(TestCore(), climate, path);
    const int status = TestCore().status;
    EXPECT_TRUE(InSet(status, {0, kStatusCannotOpenFile})) << status;
    if (status != 0) {
      EXPECT_EQ(climate.sectorCount, 0);
      return status;
    }
    EXPECT_TRUE(climate.binCount >= 0 && climate.binCount <= kMaxObservedBins);
    EXPECT_LE(climate.binCount * climate.sectorCount, kMaxObservedEntries);
    float total = 0.0f;
    for (int i = 0; i < climate.sectorCount; ++i) total += climate.sectorFrequency[i];
    EXPECT_NEAR(total, 100.0f, 1e-3f);
    for (int e = 0; e < climate.binCount * climate.sectorCount; ++e) {
      EXPECT_TRUE(std::isfinite(climate.table[e]));
    }
    if (climate.sectorCount <= kMaxSectors) {
      float A[kMaxSectors + 1];
      float k[kMaxSectors + 1];
      FitObservedClimate(climate, A, k);
      for (int i = 0; i <= kMaxSectors; ++i) {
        if (i < climate.sectorCount || i == kMaxSectors) {
          EXPECT_TRUE(std::isfinite(A[i]) && std::isfinite(k[i]) && k[i] > 0.0f) << i;
        }
      }
    }
    return status;
  }

  int CheckAtlas(const std::string& path) {
    AtlasTables atlas;
    int sectors = -7;
    char title[kAtlasTitleWidth];
    TestCore().status = kStatusOk;
    LoadAtlas(TestCore(), atlas, sectors, title, path);
    const int status = TestCore().status;
    EXPECT_TRUE(InSet(status, {0, kStatusCannotOpenFile})) << status;
    if (status != 0) {
      EXPECT_EQ(sectors, -7);
      EXPECT_EQ(atlas.roughnessCount, 0);
      return status;
    }
    if (sectors > kMaxSectors) {
      EXPECT_EQ(atlas.roughnessCount, 0);  // nothing stored
      return status;
    }
    EXPECT_TRUE(sectors >= 1 && atlas.roughnessCount >= 1 && atlas.roughnessCount <= 5 &&
                atlas.heightCount >= 1 && atlas.heightCount <= 5);
    for (int r = 0; r < atlas.roughnessCount; ++r) {
      EXPECT_GE(atlas.roughness[r], kRoughnessFloor);
      for (int j = 0; j < atlas.heightCount; ++j) {
        for (int s = 0; s < sectors; ++s) {
          EXPECT_TRUE(std::isfinite(atlas.weibullA[r][j][s]) && atlas.weibullK[r][j][s] > 0.0f);
        }
      }
    }
    return status;
  }

  testing::ScratchDirectory dir_;
  std::vector<float> X_;
  std::vector<float> Y_;
};

TEST_F(InputFuzz, MapFiles) {
  ASSERT_EQ(CheckMap(dir_.Write("valid.map", kMap), 500000), 0);
  int errors = 0;
  std::vector<std::string> files = Garbled(kMap, 1);
  for (const std::string& text : Hostile(kMap)) files.push_back(text);
  files.push_back("+\n\n1\n10 2147483647\n1 2 3 4\n");
  files.push_back("+\n\n1\n10 -2147483648\n10 2\n1 2 3 4\n");
  for (const std::string& text : files) {
    const std::string path = dir_.Write("fuzz.map", text);
    const int status = CheckMap(path, 500000);
    EXPECT_NE(status, kStatusCannotOpenFile);
    errors += status == kStatusMapError;
    CheckMap(path, 16);  // small storage: the capacity rules on garbled lines
  }
  EXPECT_GT(errors, 0);
  EXPECT_EQ(CheckMap(dir_.path(), 16), kStatusCannotOpenFile);
}

TEST_F(InputFuzz, ObservedClimateFiles) {
  ASSERT_EQ(CheckClimate(dir_.Write("valid.tab", kClimate)), 0);
  ASSERT_EQ(CheckClimate(dir_.Write("valid.tab", kWeibullClimate)), 0);
  std::vector<std::string> files = Garbled(kClimate, 2);
  for (const std::string& text : Garbled(kWeibullClimate, 3)) files.push_back(text);
  for (const std::string& text : Hostile(kClimate)) files.push_back(text);
  files.push_back("t\n1 2 3\n2147483647 1 0\n\n1 1\n");
  files.push_back("t\n1 2 3\n2 1e38 0\n\n1e38 1e38 1e38\n");
  int refused = 0;
  for (const std::string& text : files) {
    refused += CheckClimate(dir_.Write("fuzz.tab", text)) == kStatusCannotOpenFile;
  }
  EXPECT_GT(refused, 0);
  EXPECT_EQ(CheckClimate(dir_.path()), kStatusCannotOpenFile);
}

TEST_F(InputFuzz, AtlasFiles) {
  ASSERT_EQ(CheckAtlas(dir_.Write("valid.lib", kAtlas)), 0);
  std::vector<std::string> files = Garbled(kAtlas, 4);
  for (const std::string& text : Hostile(kAtlas)) files.push_back(text);
  files.push_back("t\n5 5 2147483647\n");
  files.push_back("t\n2147483647 5 12\n");
  int refused = 0;
  for (const std::string& text : files) {
    refused += CheckAtlas(dir_.Write("fuzz.lib", text)) == kStatusCannotOpenFile;
  }
  EXPECT_GT(refused, 0);
  EXPECT_EQ(CheckAtlas(dir_.path()), kStatusCannotOpenFile);
}

}  // namespace
}  // namespace kavi::numerics
