#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "numerics/numerical_state.h"
#include "numerics/observed_climate.h"
#include "numerics/observed_climate_fit.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

// Reads `text` as a climate file into `climate`; returns the status.
int Read(const std::string& text, ObservedClimate& climate) {
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("climate.tab", text);
  TestCore().status = kStatusOk;
  ReadObservedClimate(TestCore(), climate, path);
  const int status = TestCore().status;
  TestCore().status = kStatusOk;
  return status;
}

float F(const ObservedClimate& c, int sector, int bin) {
  return c.table[(bin - 1) * c.sectorCount + sector - 1];
}

TEST(ObservedClimate, OmittedSectorFrequenciesAreTheColumnTotals) {
  ObservedClimate c;
  ASSERT_EQ(Read("station\n55.5 12.1 10\n2 1.0 0\n\n1 10 20\n2 30 20\n3 60 260\n", c), 0);
  EXPECT_EQ(c.sectorCount, 2);
  EXPECT_EQ(c.binCount, 3);
  EXPECT_EQ(c.latitude, 55.5f);
  EXPECT_EQ(c.headerSecond, 12.1f);
  EXPECT_EQ(c.headerThird, 10.0f);
  EXPECT_FLOAT_EQ(c.sectorFrequency[0], 25.0f);
  EXPECT_FLOAT_EQ(c.sectorFrequency[1], 75.0f);
  EXPECT_FLOAT_EQ(F(c, 1, 1), 100.0f);
  EXPECT_FLOAT_EQ(F(c, 1, 3), 600.0f);
  EXPECT_FLOAT_EQ(F(c, 2, 1), 1000.0f * 20 / 300);
  EXPECT_FLOAT_EQ(F(c, 2, 3), 1000.0f * 260 / 300);
  EXPECT_EQ(c.upperLimits[2], 3.0f);
}

TEST(ObservedClimate, GivenFrequenciesAndSpeedFactor) {
  ObservedClimate c;
  ASSERT_EQ(Read("t\n1 2 3\n2 0.5 -15 0\n3 1\n4 1 1\n8 1 3\n", c), 0);
  EXPECT_FLOAT_EQ(c.sectorFrequency[0], 75.0f);
  EXPECT_FLOAT_EQ(c.sectorFrequency[1], 25.0f);
  EXPECT_EQ(c.directionOffset, -15.0f);
  EXPECT_EQ(c.upperLimits[0], 2.0f);
  EXPECT_EQ(c.upperLimits[1], 4.0f);
  EXPECT_FLOAT_EQ(F(c, 2, 2), 750.0f);
}

TEST(ObservedClimate, CumulativeFromBelow) {
  ObservedClimate c;
  ASSERT_EQ(Read("t\n1 2 3\n1 1 0 1\n100\n1 10\n2 30\n3 60\n", c), 0);
  ASSERT_EQ(c.binCount, 3);
  // 10, 20, 30 before normalisation to 1000.
  EXPECT_FLOAT_EQ(F(c, 1, 1), 1000.0f / 6);
  EXPECT_FLOAT_EQ(F(c, 1, 2), 2000.0f / 6);
  EXPECT_FLOAT_EQ(F(c, 1, 3), 3000.0f / 6);
}

TEST(ObservedClimate, ExceedanceFromAbove) {
  ObservedClimate c;
  ASSERT_EQ(Read("t\n1 2 3\n1 1 0 -1\n100\n0 100\n2 60\n4 30\n6 10\n", c), 0);
  ASSERT_EQ(c.binCount, 3);
  EXPECT_EQ(c.upperLimits[0], 2.0f);
  EXPECT_EQ(c.upperLimits[1], 4.0f);
  EXPECT_EQ(c.upperLimits[2], 6.0f);
  // 40, 30, 20 of 90.
  EXPECT_FLOAT_EQ(F(c, 1, 1), 4000.0f / 9);
  EXPECT_FLOAT_EQ(F(c, 1, 2), 3000.0f / 9);
  EXPECT_FLOAT_EQ(F(c, 1, 3), 2000.0f / 9);

  // Another negative flag moves the limits but keeps the table and every bin.
  ASSERT_EQ(Read("t\n1 2 3\n1 1 0 -3\n100\n0 10\n2 20\n4 70\n", c), 0);
  ASSERT_EQ(c.binCount, 3);
  EXPECT_EQ(c.upperLimits[0], 2.0f);
  EXPECT_EQ(c.upperLimits[1], 4.0f);
  EXPECT_FLOAT_EQ(F(c, 1, 1), 100.0f);
  EXPECT_FLOAT_EQ(F(c, 1, 3), 700.0f);
}

TEST(ObservedClimate, WeibullParametersAreBinned) {
  ObservedClimate c;
  ASSERT_EQ(Read("t\n1 2 3\n2 1 0 2\n1 1\n8 8\n2 2\n", c), 0);
  ASSERT_EQ(c.binCount, 24);  // 8 · 9.21^0.5 ≈ 24.28 in bins of 1 m/s
  const double total = 1.0 - std::exp(-9.0);
  for (int b = 1; b <= 24; ++b) {
    EXPECT_EQ(c.upperLimits[b - 1], static_cast<float>(b));
    const double p = std::exp(-std::pow((b - 1) / 8.0, 2)) - std::exp(-std::pow(b / 8.0, 2));
    EXPECT_NEAR(F(c, 1, b), 1000.0 * p / total, 1e-3) << b;
    EXPECT_EQ(F(c, 2, b), F(c, 1, b));
  }
  // Wider bins once 50 of 1 m/s do not reach the rare speed.
  ASSERT_EQ(Read("t\n1 2 3\n1 2 0 2\n1\n20\n2\n", c), 0);
  EXPECT_EQ(c.binCount, 50);
  EXPECT_NEAR(c.upperLimits[49], 40.0f * std::sqrt(9.21f), 1e-3f);
}

TEST(ObservedClimate, FitsPerSectorAndForAllSectors) {
  ObservedClimate c;
  ASSERT_EQ(Read("t\n1 2 3\n3 1 0 2\n1 2 1\n8 8 6\n2 2 1.5\n", c), 0);
  float A[kMaxSectors + 1];
  float k[kMaxSectors + 1];
  FitObservedClimate(c, A, k);
  EXPECT_NEAR(A[0], 8.0f, 0.03f);
  EXPECT_NEAR(k[0], 2.0f, 0.01f);
  EXPECT_EQ(A[1], A[0]);
  // The histogram stops at 24 m/s, short of this sector's rarest speeds.
  EXPECT_NEAR(A[2], 6.0f, 0.03f);
  EXPECT_NEAR(k[2], 1.5f, 0.02f);
  // Weighted by 25 %, 50 %, 25 %: between the sectors.
  EXPECT_GT(A[kAllSectorsSlot], 6.5f);
  EXPECT_LT(A[kAllSectorsSlot], 8.0f);

  // One bin: the fits use no bin at all.
  ASSERT_EQ(Read("t\n1 2 3\n2 1 0\n1 1\n5 3 4\n", c), 0);
  FitObservedClimate(c, A, k);
  EXPECT_EQ(A[0], 0.0f);
  EXPECT_EQ(k[0], 2.0f);
  EXPECT_EQ(A[kAllSectorsSlot], 0.0f);
  EXPECT_EQ(k[kAllSectorsSlot], 2.0f);
}

TEST(ObservedClimate, UnreadableSecondLineKeepsTheEarlierNumbers) {
  ObservedClimate c;
  c.latitude = 45.0f;
  c.headerSecond = 7.0f;
  c.headerThird = 3.0f;
  ASSERT_EQ(Read("t\nno numbers here\n1 1 0\n100\n1 5\n", c), 0);
  EXPECT_EQ(c.latitude, 45.0f);
  EXPECT_EQ(c.headerSecond, 7.0f);
  EXPECT_EQ(c.headerThird, -1.0f);
}

TEST(ObservedClimate, BlankLinesMayOnlyFollowTheTable) {
  ObservedClimate c;
  EXPECT_EQ(Read("t\n1 2 3\n1 1 0\n100\n1 5\n2 5\n\n  \n", c), 0);
  EXPECT_EQ(c.binCount, 2);
  EXPECT_EQ(Read("t\n1 2 3\n1 1 0\n100\n1 5\n\n2 5\n", c), kStatusCannotOpenFile);
}

TEST(ObservedClimate, MoreThan36SectorsAreLeftToTheCaller) {
  std::string text = "t\n1 2 3\n37 1 0\n\n1";
  for (int i = 0; i < 37; ++i) text += " 1";
  ObservedClimate c;
  ASSERT_EQ(Read(text + "\n", c), 0);
  EXPECT_EQ(c.sectorCount, 37);
}

TEST(ObservedClimate, RefusedFilesLeaveTheClimateAsItWas) {
  std::string tooManyBins = "t\n1 2 3\n1 1 0\n100\n";
  for (int b = 1; b <= 101; ++b) tooManyBins += std::to_string(b) + " 1\n";
  std::string tooManyEntries = "t\n1 2 3\n40 1 0\n\n";
  for (int b = 1; b <= 91; ++b) {
    tooManyEntries += std::to_string(b);
    for (int i = 0; i < 40; ++i) tooManyEntries += " 1";
    tooManyEntries += "\n";
  }
  const std::string bad[] = {
      "",                                         // empty
      "title only\n",                             // ends before line 3
      "t\n1 2 3\n",                               // ends before line 3
      "t\n1 2 3\n1 1 0\n",                        // no line 4
      "t\n1 2 3\nx 1 0\n100\n1 5\n",              // line 3 unreadable
      "t\n1 2 3\n1.5 1 0\n100\n1 5\n",            // sector count not an integer
      "t\n1 2 3\n2 1 0\n100\n1 5 5\n",            // line 4 holds fewer than N_s numbers
      "t\n1 2 3\n2 1 0\n\n1 5\n",                 // body line too short
      "t\n1 2 3\n1 1 0\n100\n1 five\n",           // body line not numbers
      "t\n1 2 3\n1 1 0 2\n\n8\n2\n",              // Weibull without frequencies
      "t\n1 2 3\n1 1 0 2\n100\n8\n",              // Weibull without k
      "t\n1 2 3\n1 1 0 2\n100\n8\n0\n",           // Weibull with k = 0
      "t\n1 2 3\n1 1 0 2\n100\n-8\n2\n",          // Weibull with A < 0
      "t\n1 2 3\n1 1 0 2\n100\n1e30\n0.01\n",     // Weibull beyond any speed
      "t\n1 2 3\n1 0 0\n100\n1 5\n",              // speed factor 0
      "t\n1 2 3\n1 1 0\n0\n1 0\n2 0\n",           // no observation at all
      "t\n1 2 3\n1 1 0\n100\n",                   // no bins
      "t\n1 2 3\n0 1 0\n\n1\n",                   // no sectors
      "t\n1 2 3\n-3 1 0\n\n1\n",                  // negative sectors
      "t\n1 2 3\n101 1 0\n\n",                    // more sectors than the storage
      "t\n1 2 3\n2 1 0\n1 1\n1 3e38 3e38\n",      // sums overflow
      "t\n1 2 3\n1 1 0 1\n\n1 -3e38\n2 3e38\n",   // differences overflow
      "t\n1 2 3\n1 1 0 -1\n\n1 10\n2 30\n3 0\n",  // exceedance that grows with speed
      "t\n1 2 3\n1 1 0 1\n\n1 30\n2 10\n",        // cumulative that falls
      "t\n1 2 3\n1 1 0\n\n1 -5\n2 10\n",          // negative count
      "t\n1 2 3\n2 1 0\n-1 2\n1 5 5\n",           // negative sector frequency
      "t\n1 2 3\n1 1 0\n\n7 5\n0 5\n",            // limits that go down
      "t\n1 2 3\n1 1 0\n\n1 5\n4e28 5\n",         // a limit beyond any speed
      tooManyBins,
      tooManyEntries,
  };
  for (const std::string& text : bad) {
    ObservedClimate c;
    c.sectorCount = 12;
    c.binCount = 7;
    c.latitude = 50.0f;
    c.table[0] = 123.0f;
    EXPECT_EQ(Read(text, c), kStatusCannotOpenFile) << text;
    EXPECT_EQ(c.sectorCount, 12) << text;
    EXPECT_EQ(c.binCount, 7) << text;
    EXPECT_EQ(c.latitude, 50.0f) << text;
    EXPECT_EQ(c.table[0], 123.0f) << text;
  }
}

TEST(ObservedClimate, MissingFileGivesStatusFour) {
  testing::ScratchDirectory dir;
  ObservedClimate c;
  c.sectorCount = 12;
  for (const std::string& path : {dir.File("none.tab"), dir.path()}) {
    TestCore().status = kStatusOk;
    ReadObservedClimate(TestCore(), c, path);
    EXPECT_EQ(TestCore().status, kStatusCannotOpenFile);
    EXPECT_EQ(c.sectorCount, 12);
  }
  TestCore().status = kStatusOk;
}

}  // namespace
}  // namespace kavi::numerics
