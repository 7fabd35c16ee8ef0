#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "gis/map_lines.h"

namespace {

std::string WriteFile(const std::string& name, const std::string& text) {
  std::ofstream(name) << text;
  return name;
}

TEST(ReadMapLines, GivesBackEveryLineWithItsKindValuesAndPoints) {
  const std::string path = WriteFile("three_lines.map",
                                     "+three lines\nno transformation\n2 5\n"
                                     "0.0 0.03 3\n  -100 -50   0 0   100 50\n"
                                     "10 2\n  10 20   30 40\n"
                                     "0.1 0.4 4 2\n  -200 7   -150 9\n");
  const kavi::gis::MapLines map = kavi::gis::ReadMapLines(path, 1000);
  ASSERT_EQ(map.lines.size(), 3u);
  EXPECT_EQ(map.entryCount, (3 + 3) + (3 + 2) + (3 + 2));

  const auto& coast = map.lines[0];
  EXPECT_EQ(coast.kind, kavi::gis::MapLineKind::kRoughness);
  EXPECT_FLOAT_EQ(coast.z0Left, 0.0f);
  EXPECT_FLOAT_EQ(coast.z0Right, 0.03f);
  ASSERT_EQ(coast.points.size(), 3u);
  EXPECT_FLOAT_EQ(coast.points[2].x, 100.0f);
  EXPECT_FLOAT_EQ(coast.points[2].y, 50.0f);

  // Heights take the file's offset 5, then its scale 2.
  EXPECT_EQ(map.lines[1].kind, kavi::gis::MapLineKind::kContour);
  EXPECT_FLOAT_EQ(map.lines[1].elevation, 30.0f);
  EXPECT_EQ(map.lines[2].kind, kavi::gis::MapLineKind::kContourAndRoughness);
  EXPECT_FLOAT_EQ(map.lines[2].elevation, 18.0f);
  EXPECT_TRUE(map.lines[2].IsContour() && map.lines[2].IsRoughnessChange());

  const kavi::gis::MapExtent extent = map.Extent();
  EXPECT_FALSE(extent.empty);
  EXPECT_FLOAT_EQ(extent.minX, -200.0f);
  EXPECT_FLOAT_EQ(extent.maxX, 100.0f);
  EXPECT_FLOAT_EQ(extent.minY, -50.0f);
  EXPECT_FLOAT_EQ(extent.maxY, 50.0f);
  std::remove(path.c_str());
}

TEST(ReadMapLines, RefusesMissingMalformedAndOversizedMapsWithTheEngineStatus) {
  auto status = [](const std::string& path, int capacity) {
    try {
      kavi::gis::ReadMapLines(path, capacity);
    } catch (const kavi::gis::MapReadError& e) {
      return e.status();
    }
    return 0;
  };
  EXPECT_EQ(status("no_such_file.map", 1000), 4);
  const std::string bad = WriteFile("bad_header.map", "+bad\nnone\n1 0\n10 x\n");
  EXPECT_EQ(status(bad, 1000), 5);
  const std::string big = WriteFile("too_big.map", "+big\nnone\n1 0\n10 4\n 0 0 1 0 1 1 0 1\n");
  EXPECT_EQ(status(big, 5), 6);
  // A failure leaves nothing behind that spoils the next read.
  const std::string good = WriteFile("good.map", "+good\nnone\n1 0\n10 2\n 0 0 1 1\n");
  EXPECT_EQ(kavi::gis::ReadMapLines(good, 1000).lines.size(), 1u);
  for (const auto& p : {bad, big, good}) std::remove(p.c_str());
}

}  // namespace
