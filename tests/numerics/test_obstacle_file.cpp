#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "numerics/obstacle_file.h"
#include "numerics/support/test_core.h"
#include "support/shelter_test_support.h"

namespace kavi::numerics {
namespace {

using testing::ObstacleFiles;
using testing::ReadIntoInput;

// The seven values of obstacle i as read.
std::vector<float> Row(int i) {
  const Obstacle& o = TestCore().obstacles.obstacles[i];
  return {o.a1, o.r1, o.a2, o.r2, o.h, o.depth, o.porosity};
}

TEST(ObstacleFile, TitleLineIsOptional) {
  ObstacleFiles files;
  const std::string body = "10 50 40 60 8 12 0.5\n200, 30, 230, 35, 5, 0, 0\n";
  ASSERT_EQ(ReadIntoInput(files.Write("titled.txt", "Farm buildings, survey 2021\n" + body)), 0);
  EXPECT_EQ(TestCore().obstacles.count, 2);
  const std::vector<float> first = Row(0), second = Row(1);
  EXPECT_EQ(std::string(TestCore().obstacles.title),
            "Farm buildings, survey 2021" + std::string(80 - 27, ' '));

  ASSERT_EQ(ReadIntoInput(files.Write("plain.txt", body)), 0);
  EXPECT_EQ(TestCore().obstacles.count, 2);
  EXPECT_EQ(Row(0), first);
  EXPECT_EQ(Row(1), second);
  EXPECT_EQ(std::string(TestCore().obstacles.title), std::string(80, ' '));
  // Height before depth: the fifth number is the height.
  EXPECT_EQ(first, (std::vector<float>{10, 50, 40, 60, 8, 12, 0.5f}));
}

TEST(ObstacleFile, TitleKeepsItsFirst80Characters) {
  ObstacleFiles files;
  const std::string longTitle(100, 'x');
  ASSERT_EQ(ReadIntoInput(files.Write("t.txt", longTitle + "\r\n1 2 3 4 5 6 0\r\n")), 0);
  EXPECT_EQ(std::string(TestCore().obstacles.title), std::string(80, 'x'));
  EXPECT_EQ(TestCore().obstacles.count, 1);
  // A first line of fewer than seven numbers is a title, not half an obstacle.
  ASSERT_EQ(ReadIntoInput(files.Write("n.txt", "2021 12\n1 2 3 4 5 6 0\n")), 0);
  EXPECT_EQ(TestCore().obstacles.count, 1);
  EXPECT_EQ(std::strncmp(TestCore().obstacles.title, "2021 12 ", 8), 0);
}

TEST(ObstacleFile, FiftyObstaclesAtMost) {
  ObstacleFiles files;
  std::string text = "fifty obstacles\n";
  for (int i = 1; i <= 50; ++i) {
    text += std::to_string(i) + " 100 " + std::to_string(i + 1) + " 110 5 3 0.25\n";
  }
  ASSERT_EQ(ReadIntoInput(files.Write("fifty.txt", text)), 0);
  EXPECT_EQ(TestCore().obstacles.count, kMaxObstacles);
  EXPECT_EQ(Row(49), (std::vector<float>{50, 100, 51, 110, 5, 3, 0.25f}));
  // A 51st is refused with the status of a list too large, not dropped.
  EXPECT_EQ(ReadIntoInput(files.Write("more.txt", text + "1 100 2 110 5 3 0.25\n")),
            kStatusTooManyShelterRecords);
  EXPECT_EQ(TestCore().obstacles.count, 0);
}

TEST(ObstacleFile, ObstaclesThatAreNoShapeAreRefused) {
  ObstacleFiles files;
  const auto status = [&](const std::string& obstacle) {
    return ReadIntoInput(files.Write("o.txt", "title\n0 100 10 100 5 3 0.5\n" + obstacle + "\n"));
  };
  EXPECT_EQ(status("350 50 -10 60 1000 0 1"), 0);  // limits included
  EXPECT_EQ(status("10 0 20 0 0.1 -5 0"), 0);      // a negative depth leaves it out, as ever
  EXPECT_EQ(status("-400 50 10 60 5 3 0.5"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 -50 20 60 5 3 0.5"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 50 20 -60 5 3 0.5"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 50 20 60 0 3 0.5"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 50 20 60 -5 3 0.5"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 50 20 60 1e30 3 0.5"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 50 20 60 5 3 2"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(status("10 50 20 60 5 3 -0.1"), kStatusObstacleFileUnreadable);
  EXPECT_EQ(TestCore().obstacles.count, 0);
}

TEST(ObstacleFile, FreeFormatRecords) {
  ObstacleFiles files;
  // Blank lines, commas, tabs, exponents with E or D, signs, numbers beyond the
  // seventh ignored, a record continued on the next line, and an incomplete
  // last record that ends the list.
  const std::string text =
      "1,2,3,4,5,6,0.1 99 99\n"
      "\n"
      "\t-10.5  2.5e1 +3. .5 1D1 6d-1 0\n"
      "7 8 9\n"
      "10 11 12 0\n"
      "1 2 3 4 5";
  ASSERT_EQ(ReadIntoInput(files.Write("free.txt", text)), 0);
  ASSERT_EQ(TestCore().obstacles.count, 3);
  EXPECT_EQ(Row(0), (std::vector<float>{1, 2, 3, 4, 5, 6, 0.1f}));
  EXPECT_EQ(Row(1), (std::vector<float>{-10.5f, 25, 3, 0.5f, 10, 0.6f, 0}));
  EXPECT_EQ(Row(2), (std::vector<float>{7, 8, 9, 10, 11, 12, 0}));
}

TEST(ObstacleFile, EmptyFilesHoldNoObstacles) {
  ObstacleFiles files;
  for (const char* text : {"", "\n\n", "title only\n", "title\n   \n"}) {
    EXPECT_EQ(ReadIntoInput(files.Write("empty.txt", text)), 0) << text;
    EXPECT_EQ(TestCore().obstacles.count, 0) << text;
  }
  // A byte order mark does not turn the first obstacle into a title.
  ASSERT_EQ(ReadIntoInput(files.Write("bom.txt",
                                      "\xEF\xBB\xBF"
                                      "1 2 3 4 5 6 0\n")),
            0);
  EXPECT_EQ(TestCore().obstacles.count, 1);
}

TEST(ObstacleFile, MissingFileIsAnUnexpectedFailure) {
  ObstacleFiles files;
  EXPECT_EQ(ReadIntoInput(files.Path("no such file.txt")), kStatusObstacleFileMissing);
  EXPECT_EQ(TestCore().obstacles.count, 0);
  // Only the given length of the name counts.
  const std::string path = files.Write("o.txt", "1 2 3 4 5 6 0\n");
  const std::string padded = path + "ignored";
  ObstacleInput& in = TestCore().obstacles;
  in = ReadObstacleFile(TestCore(), std::string_view(padded).substr(0, path.size()));
  EXPECT_EQ(testing::TakeStatus(), 0);
  EXPECT_EQ(in.count, 1);
  in = ReadObstacleFile(TestCore(), std::string_view());
  EXPECT_EQ(testing::TakeStatus(), kStatusObstacleFileMissing);
  // A name with a NUL in it is no name: cut there, it would open another file.
  in = ReadObstacleFile(TestCore(), path + std::string(1, '\0') + "x");
  EXPECT_EQ(testing::TakeStatus(), kStatusObstacleFileMissing);
  EXPECT_EQ(in.count, 0);
  EXPECT_EQ(ReadIntoInput(files.Path("")), kStatusObstacleFileUnreadable);  // a directory
  // Both codes lie outside the table, so the status check reports them as an
  // unexpected failure.
  for (int code : {kStatusObstacleFileMissing, kStatusObstacleFileUnreadable}) {
    EXPECT_TRUE(code < kStatusTooManyShelterRecords || code > kStatusWorkFileError);
  }
}

TEST(ObstacleFile, RecordsThatAreNotNumbersFail) {
  ObstacleFiles files;
  const char* bad[] = {
      "title\n1 2 3 4 5 6 0\nend\n",         // text after the obstacles
      "1 2 3 4 5 6 0\n1 2 three 4 5 6 0\n",  // a word among the numbers
      "title\n1 2 3 4 5 nan 0\n",            // not a number
      "title\n1 2 3 4 inf 6 0\n",            // not finite
      "title\n1 2 3 4 1e39 6 0\n",           // beyond single precision
      "title\n1 2 3 4 5 6 0x1p3\n",          // hexadecimal is not free format
      "title\n1 2 3 4 5 6 1.2.3\n",          // malformed
      "title\n1 2 3 4 5 6 1e\n",             // exponent without digits
      "title\n1 2 3 4 5 6 -\n",              // sign alone
      "title\n1 2 3 4 5 6 /\n",              // no end-of-record marks
  };
  for (const char* text : bad) {
    TestCore().obstacles.count = 7;
    EXPECT_EQ(ReadIntoInput(files.Write("bad.txt", text)), kStatusObstacleFileUnreadable) << text;
    EXPECT_EQ(TestCore().obstacles.count, 0) << text;
  }
  // A value too small for single precision is read as zero.
  ASSERT_EQ(ReadIntoInput(files.Write("tiny.txt", "1 2 3 4 5 1e-60 0\n")), 0);
  EXPECT_EQ(Row(0)[5], 0.0f);
  // A number longer than any sensible one is refused, not truncated.
  ASSERT_EQ(ReadIntoInput(files.Write("long.txt", "t\n1 2 3 4 5 6 " + std::string(200, '1'))),
            kStatusObstacleFileUnreadable);
}

TEST(ObstacleFile, ArbitraryBytesNeverCrash) {
  ObstacleFiles files;
  std::mt19937 random(12345);
  for (int trial = 0; trial < 200; ++trial) {
    std::string text;
    const int size = static_cast<int>(random() % 400);
    for (int i = 0; i < size; ++i) {
      // Mostly the characters of numbers, with some of everything else.
      const char digits[] = "0123456789.-+eEdD ,\n\t";
      text += random() % 5 ? digits[random() % (sizeof digits - 1)] : static_cast<char>(random());
    }
    const int status = ReadIntoInput(files.Write("random.txt", text));
    EXPECT_TRUE(status == 0 || status == kStatusObstacleFileUnreadable);
    EXPECT_GE(TestCore().obstacles.count, 0);
    EXPECT_LE(TestCore().obstacles.count, kMaxObstacles);
    for (int i = 0; i < TestCore().obstacles.count; ++i) {
      for (float value : Row(i)) EXPECT_TRUE(std::isfinite(value));
    }
  }
}

}  // namespace
}  // namespace kavi::numerics
