#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

constexpr int kCapacity = 500000;

struct LoadedMap {
  int status = 0;
  int lines = 0;
  int entries = 0;
  int kind = 0;
  std::vector<float> X;
  std::vector<float> Y;
};

LoadedMap LoadFile(const std::string& path, int capacity = kCapacity) {
  LoadedMap map;
  map.X.assign(capacity, -99.0f);
  map.Y.assign(capacity, -99.0f);
  TestCore().status = kStatusOk;
  MapContents contents;
  MapInput(TestCore(), path, map.X, map.Y, contents);
  map.lines = contents.lineCount;
  map.entries = contents.entryCount;
  map.kind = contents.kind;
  map.status = TestCore().status;
  TestCore().status = kStatusOk;
  return map;
}

LoadedMap LoadText(const std::string& text, int capacity = kCapacity) {
  testing::ScratchDirectory dir;
  return LoadFile(dir.Write("map.map", text), capacity);
}

// Text of a contour line at elevation 100 with `points` points.
std::string Contour(int points) {
  std::string text = "100 " + std::to_string(points) + "\n";
  for (int i = 0; i < points; ++i) text += std::to_string(i) + " " + std::to_string(i % 7) + "\n";
  return text;
}

TEST(MapInput, IdentityKeepsPointsAndStoresTheLineLayout) {
  const LoadedMap map = LoadText("+ title\n\n1\n120 3\n1 2 3 4 5 6\n");
  EXPECT_EQ(map.status, 0);
  EXPECT_EQ(map.lines, 1);
  EXPECT_EQ(map.entries, 6);
  EXPECT_EQ(map.kind, kMapHeightsOnly);
  const std::vector<float> x = {0, 0, 120, 1, 3, 5};
  const std::vector<float> y = {3, 0, 0, 2, 4, 6};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(map.X[i], x[i]) << i;
    EXPECT_EQ(map.Y[i], y[i]) << i;
  }
  EXPECT_EQ(map.X[6], -99.0f);  // nothing written behind the line
}

TEST(MapInput, CartesianTransformationMapsTheFirstPairOntoTheSecond) {
  const LoadedMap map = LoadText("+\n0 0 1000 2000\n100 0 1000 2100\n1\n10 3\n100 0 0 100 0 0\n");
  ASSERT_EQ(map.status, 0);
  EXPECT_NEAR(map.X[3], 1000.0f, 1e-3f);
  EXPECT_NEAR(map.Y[3], 2100.0f, 1e-3f);
  EXPECT_NEAR(map.X[4], 900.0f, 1e-3f);
  EXPECT_NEAR(map.Y[4], 2000.0f, 1e-3f);
  EXPECT_NEAR(map.X[5], 1000.0f, 1e-3f);
  EXPECT_NEAR(map.Y[5], 2000.0f, 1e-3f);

  // A clockwise turn with scale 2: (10, 0) → (10, 20) seen from (0, 0).
  const LoadedMap turned = LoadText("+\n0 0 0 0\n10 0 0 -20\n1\n10 2\n10 0 0 10\n");
  ASSERT_EQ(turned.status, 0);
  EXPECT_NEAR(turned.X[3], 0.0f, 1e-4f);
  EXPECT_NEAR(turned.Y[3], -20.0f, 1e-4f);
  EXPECT_NEAR(turned.X[4], 20.0f, 1e-4f);
  EXPECT_NEAR(turned.Y[4], 0.0f, 1e-4f);
}

TEST(MapInput, PolarPointsTurnAboutTheOrigin) {
  const LoadedMap map = LoadText("* polar\n0 0 500 500\n1 0 2 90\n1\n10 2\n10 0 10 90\n");
  ASSERT_EQ(map.status, 0);
  EXPECT_NEAR(map.X[3], 500.0f, 1e-3f);
  EXPECT_NEAR(map.Y[3], 520.0f, 1e-3f);
  EXPECT_NEAR(map.X[4], 480.0f, 1e-3f);
  EXPECT_NEAR(map.Y[4], 500.0f, 1e-3f);
  // A fifth value multiplies the angles: (0 + 90) · 2 = 180°.
  const LoadedMap doubled = LoadText("*\n0 0 500 500\n1 0 2 90 2\n1\n10 2\n10 0 10 45\n");
  ASSERT_EQ(doubled.status, 0);
  EXPECT_NEAR(doubled.X[3], 480.0f, 1e-3f);
  EXPECT_NEAR(doubled.Y[3], 500.0f, 1e-3f);
  EXPECT_NEAR(doubled.X[4], 500.0f, 1e-3f);
  EXPECT_NEAR(doubled.Y[4], 480.0f, 1e-3f);
  // Without transformation the polar origin is (0, 0).
  const LoadedMap plain = LoadText("*\n\n1\n10 2\n3 0 2 90\n");
  ASSERT_EQ(plain.status, 0);
  EXPECT_NEAR(plain.X[3], 3.0f, 1e-6f);
  EXPECT_NEAR(plain.Y[4], 2.0f, 1e-6f);
}

TEST(MapInput, HeightScaleAndOffsetApplyToElevationsOnly) {
  const LoadedMap map = LoadText("+\nno transformation\n0.5 10 extra text\n90 2\n4 6 8 10\n");
  ASSERT_EQ(map.status, 0);
  EXPECT_EQ(map.X[2], 50.0f);
  EXPECT_EQ(map.X[3], 4.0f);
  EXPECT_EQ(map.Y[4], 10.0f);
  const LoadedMap scaleOnly = LoadText("+\n\n2\n90 2\n4 6 8 10\n");
  EXPECT_EQ(scaleOnly.X[2], 180.0f);
}

TEST(MapInput, HeaderShapesDecideTheKind) {
  const LoadedMap map = LoadText(
      "+\n\n1\n0.03 0.1 120 4\n1 1 2 2 3 3 4 4\n0.03 0.1 4\n1 1 2 2 3 3 4 4\n120 4\n"
      "1 1 2 2 3 3 4 4\n");
  ASSERT_EQ(map.status, 0);
  ASSERT_EQ(map.lines, 3);
  EXPECT_EQ(map.entries, 21);
  EXPECT_EQ(map.kind, kMapHeightsAndRoughness);
  // Kind 2: both roughness values and the elevation.
  EXPECT_FLOAT_EQ(map.X[0], 0.03f);
  EXPECT_FLOAT_EQ(map.X[1], 0.1f);
  EXPECT_EQ(map.X[2], 120.0f);
  EXPECT_EQ(map.Y[0], 4.0f);
  EXPECT_EQ(map.Y[1], 2.0f);
  // Kind 1: no elevation.
  EXPECT_FLOAT_EQ(map.X[7], 0.03f);
  EXPECT_FLOAT_EQ(map.X[8], 0.1f);
  EXPECT_EQ(map.X[9], 0.0f);
  EXPECT_EQ(map.Y[8], 1.0f);
  // Kind 0: no roughness.
  EXPECT_EQ(map.X[14], 0.0f);
  EXPECT_EQ(map.X[15], 0.0f);
  EXPECT_EQ(map.X[16], 120.0f);
  EXPECT_EQ(map.Y[15], 0.0f);

  // A count with a decimal point, and a blank header, fit no shape.
  EXPECT_EQ(LoadText("+\n\n1\n120 4.0\n1 1 2 2 3 3 4 4\n").status, kStatusMapError);
  EXPECT_EQ(LoadText("+\n\n1\n120 2\n1 1 2 2\n\n130 2\n1 1 2 2\n").status, kStatusMapError);
}

TEST(MapInput, ContentKindFollowsTheStoredLines) {
  EXPECT_EQ(LoadText("+\n\n1\n10 2\n0 0 1 1\n20 2\n0 0 1 1\n").kind, kMapHeightsOnly);
  EXPECT_EQ(LoadText("+\n\n1\n0.1 0.2 2\n0 0 1 1\n").kind, kMapRoughnessOnly);
  EXPECT_EQ(LoadText("+\n\n1\n0.1 0.2 2\n0 0 1 1\n10 2\n0 0 1 1\n").kind, kMapHeightsAndRoughness);
  EXPECT_EQ(LoadText("+\n\n1\n0.1 0.2 5 2\n0 0 1 1\n").kind, kMapHeightsAndRoughness);
  const LoadedMap empty = LoadText("+\n\n1\n");
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.lines, 0);
  EXPECT_EQ(empty.entries, 0);
  EXPECT_EQ(empty.kind, kMapHeightsOnly);
  EXPECT_EQ(LoadText("+\n\n1").status, 0);  // no line feed after the scale line
}

TEST(MapInput, PointsRunOverRecordsAndTrailingValuesAreIgnored) {
  const LoadedMap map = LoadText("+\n\n1\n120 3\n1 2\n3\n\n4 5, 6 99 99\n130 2\n7,8\t9 10\n");
  ASSERT_EQ(map.status, 0);
  ASSERT_EQ(map.lines, 2);
  EXPECT_EQ(map.X[5], 5.0f);
  EXPECT_EQ(map.Y[5], 6.0f);
  EXPECT_EQ(map.X[8], 130.0f);
  EXPECT_EQ(map.X[9], 7.0f);
  EXPECT_EQ(map.Y[10], 10.0f);
}

TEST(MapInput, LinesWithOneOrNoPointAreDropped) {
  const LoadedMap map = LoadText("+\n\n1\n120 1\n5 5 77\n130 0\n140 -3\n150 2\n1 1 2 2\n");
  ASSERT_EQ(map.status, 0);
  EXPECT_EQ(map.lines, 1);
  EXPECT_EQ(map.entries, 5);
  EXPECT_EQ(map.X[2], 150.0f);
}

TEST(MapInput, ReadsFreeFormatNumbers) {
  const LoadedMap map = LoadText("+\r\n\r\n1.0D0,0\r\n1.2e2\t2\r\n-1.5D2 +2.5E-1 .5 7.\r\n");
  ASSERT_EQ(map.status, 0);
  EXPECT_EQ(map.X[2], 120.0f);
  EXPECT_EQ(map.X[3], -150.0f);
  EXPECT_EQ(map.Y[3], 0.25f);
  EXPECT_EQ(map.X[4], 0.5f);
  EXPECT_EQ(map.Y[4], 7.0f);
}

TEST(MapInput, MapErrorsKeepTheCallersCounts) {
  const char* bad[] = {
      "",                                               // empty file
      "# title\n\n1\n",                                 // unknown coordinate system
      "\n\n1\n",                                        // empty title
      "+\n1 2 3\n1 2 3 4\n1\n",                         // transformation line 1 too short
      "+\n0 0 0 0\n1 2 3\n1\n",                         // transformation line 2 too short
      "+\n0 0 0 0\n",                                   // transformation line 2 missing
      "*\n0 0 0 0\n0 0 1 0\n1\n",                       // polar a1 = 0
      "*\n0 0 0 0\n1 0 -1 0\n1\n",                      // polar a3 < 0
      "+\n5 5 0 0\n5 5 1 1\n1\n",                       // P1 = P2
      "+\n0 0 3 3\n1 1 3 3\n1\n",                       // Q1 = Q2
      "+\n\nscale\n",                                   // no height scale
      "+\n\n0 10\n",                                    // height scale 0
      "+\n\n",                                          // end of file before the height scale
      "+\n\n1\n10 3\n1 1 2 2\n",                        // end of file inside a point list
      "+\n\n1\n10 2\n1 1 x 2\n",                        // text inside a point list
      "+\n\n1\n10 2\n1 1 2 2\n20 1\n",                  // end of file inside a dropped point
      "+\n\n1\n0.1 0.2\n",                              // header of no shape
      "+\n\n1\n10 2\n1 1 1e39 2\n",                     // beyond single precision
      "+\n\n1e39\n",                                    // height scale beyond single precision
      "+\n\n1e38 1e38\n10 2\n1 1 2 2\n",                // elevation overflows when scaled
      "+\n0 0 0 0\n1 0 1e30 0\n1\n10 2\n1e30 0 1 1\n",  // point overflows when moved
  };
  for (const char* text : bad) {
    const LoadedMap map = LoadText(text);
    EXPECT_EQ(map.status, kStatusMapError) << text;
    EXPECT_EQ(map.lines, 0) << text;
    EXPECT_EQ(map.entries, 0) << text;
    EXPECT_EQ(map.kind, 0) << text;
  }
}

TEST(MapInput, UnopenableFilesGiveStatusFour) {
  testing::ScratchDirectory dir;
  for (const std::string& path : {dir.File("missing.map"), dir.path(), std::string()}) {
    LoadedMap map = LoadFile(path, 16);
    EXPECT_EQ(map.status, kStatusCannotOpenFile) << path;
    EXPECT_EQ(map.lines, -1);
    EXPECT_EQ(map.X[0], -99.0f);
  }
  // Trailing blanks are not part of the name.
  const std::string name = dir.Write("padded.map", "+\n\n1\n10 2\n1 1 2 2\n") + "   ";
  EXPECT_EQ(LoadFile(name, 16).lines, 1);
}

TEST(MapInput, CapacityRulesOnASmallStorage) {
  // 13 + 7 entries fill 20 exactly: the second line keeps 4 of its 10 points.
  LoadedMap map = LoadText("+\n\n1\n" + Contour(10) + Contour(10) + Contour(10), 20);
  EXPECT_EQ(map.status, kStatusMapTooLarge);
  EXPECT_EQ(map.lines, 2);
  EXPECT_EQ(map.entries, 20);
  EXPECT_EQ(map.Y[13], 4.0f);
  EXPECT_EQ(map.X[19], 3.0f);

  // After 16 of 20 entries no further line fits: the third header stops the read.
  map = LoadText("+\n\n1\n" + Contour(13) + Contour(2), 20);
  EXPECT_EQ(map.status, kStatusMapTooLarge);
  EXPECT_EQ(map.lines, 1);
  EXPECT_EQ(map.entries, 16);
  // ... but a dropped line there is no reason to stop.
  map = LoadText("+\n\n1\n" + Contour(13) + "5 1\n0 0\n", 20);
  EXPECT_EQ(map.status, 0);
  EXPECT_EQ(map.lines, 1);
}

TEST(MapInput, CapacityRulesOnTheFullStorage) {
  std::string lines;
  for (int i = 0; i < 500; ++i) lines += Contour(997);  // 1000 entries each
  LoadedMap map = LoadText("+\n\n1\n" + lines);
  EXPECT_EQ(map.status, kStatusMapTooLarge);  // exactly full also counts as too large
  EXPECT_EQ(map.lines, 500);
  EXPECT_EQ(map.entries, 500000);
  EXPECT_EQ(map.X[499999], 996.0f);

  // The 500th line runs past the end and keeps 997 of its 1997 points.
  std::string over;
  for (int i = 0; i < 499; ++i) over += Contour(997);
  over += Contour(1997);
  map = LoadText("+\n\n1\n" + over);
  EXPECT_EQ(map.status, kStatusMapTooLarge);
  EXPECT_EQ(map.lines, 500);
  EXPECT_EQ(map.entries, 500000);
  EXPECT_EQ(map.Y[499000], 997.0f);
  // The other edition holds it whole.
  map = LoadText("+\n\n1\n" + over, 1000000);
  EXPECT_EQ(map.status, 0);
  EXPECT_EQ(map.entries, 501000);
}

}  // namespace
}  // namespace kavi::numerics
