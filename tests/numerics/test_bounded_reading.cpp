// Readers stop on inputs no file of theirs can be: a device without end, a
// line over 1 MiB.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "numerics/numerical_state.h"
#include "numerics/obstacle_file.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/shelter_test_support.h"
#include "numerics/text_reader.h"

namespace kavi::numerics {
namespace {

TEST(BoundedReading, TextReaderStopsAtALineOverOneMebibyte) {
  testing::ScratchDirectory dir;
  const std::string fits(TextReader::kMaxLineBytes, 'x');
  for (const auto& [text, fails] :
       {std::pair{fits + "\n1\n", false}, std::pair{fits + "x\n1\n", true}}) {
    std::FILE* file = std::fopen(dir.Write("long.txt", text).c_str(), "r");
    ASSERT_NE(file, nullptr);
    {
      TextReader in(file);
      char record[8];
      int length = 0;
      while (in.ReadRecord(record, sizeof record, length)) {
      }
      EXPECT_EQ(in.failed(), fails);
    }
    std::fclose(file);
  }
  // A device without end: the first record never ends, and reading stops.
  std::FILE* zero = std::fopen("/dev/zero", "r");
  ASSERT_NE(zero, nullptr);
  {
    TextReader in(zero);
    float value = 0;
    EXPECT_NE(in.NextReal(value), TextReader::Item::kValue);
    char record[8];
    int length = 0;
    while (in.ReadRecord(record, sizeof record, length)) {
    }
    EXPECT_TRUE(in.failed());
  }
  std::fclose(zero);
}

TEST(BoundedReading, ObstacleReaderStopsOnADeviceAndOnOverlongLines) {
  const std::string zero = "/dev/zero";
  EXPECT_EQ(testing::ReadIntoInput(zero), kStatusObstacleFileUnreadable);
  testing::ObstacleFiles files;
  const std::string longTitle(2 << 20, 't');
  EXPECT_EQ(testing::ReadIntoInput(files.Write("t.obs", longTitle + "\n1 2 3 4 5 6 0.5\n")),
            kStatusObstacleFileUnreadable);
  EXPECT_EQ(
      testing::ReadIntoInput(files.Write("ok.obs", std::string(5000, 't') + "\n1 2 3 4 5 6 0.5\n")),
      kStatusOk);
  EXPECT_EQ(Obstacles().count, 1);
}

}  // namespace
}  // namespace kavi::numerics
