// The orographic vector of a sector and the true-upwind step, with grid
// coefficients chosen by hand: one spectral term at a time, so that each
// expected vector follows from the formulas with pencil-and-paper steps
// (worked out in double precision).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/site_model.h"
#include "numerics/support/site_model_setup.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class OrographyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseSiteModelDefaults(4);
    testing::ClearGrid();
    testing::UniformRose(rose, 0.03f);
    testing::MarkTable(table);
    TestCore().grid.lengthScale = 1000.0f;
  }
  // Term k (1 … 62) of every sector gets (a0, a1, a2) = (-500, 200, 300).
  static void SetTerm(int k) {
    for (int j = 0; j < kMaxSectors; ++j) {
      TestCore().grid.coefficients[j][k - 1][0] = -500.0f;
      TestCore().grid.coefficients[j][k - 1][1] = 200.0f;
      TestCore().grid.coefficients[j][k - 1][2] = 300.0f;
    }
  }
  float Factor(int sector) const { return table.speedFactor[EffectIndex(2, sector, 4)]; }
  float Turning(int sector) const { return table.turning[EffectIndex(2, sector, 4)]; }

  RoughnessRose rose;
  SiteEffectTable table;
};

TEST_F(OrographyTest, VectorOfTheFirstTermByHand) {
  // Term 1: L = 1000 * 1 * 0.3 = 300 m, T = 1 / 1000 (no softening, no decay),
  // ze = 0.03, inner height 0.27 * 0.03 * (300 / 0.03)^0.67 = 3.8769 m,
  // profile ln(300 / 0.03) = 9.2103404, f = e^(-10/300) T 9.2103404 / ln(10 / 0.03)^2
  // = 2.6398246e-4. North sector, wind towards (0, -1): p = 921.03404 and
  // s = -1381.5511, so v = (-f p, -1 + f s).
  SetTerm(1);
  WindVector v = OrographicVector(TestCore(), rose, 10.0f, 0, 4);
  EXPECT_NEAR(v.east, -0.24313683f, 2e-6f);
  EXPECT_NEAR(v.north, -1.3647052f, 2e-6f);
  // East sector, wind towards (-1, 0).
  v = OrographicVector(TestCore(), rose, 10.0f, 1, 4);
  EXPECT_NEAR(v.east, -1.6078421f, 2e-6f);
  EXPECT_NEAR(v.north, -0.24313683f, 2e-6f);
  // Without a grid: the undisturbed unit vector.
  TestCore().grid.lengthScale = 0.0f;
  v = OrographicVector(TestCore(), rose, 10.0f, 1, 4);
  EXPECT_NEAR(v.east, -1.0f, 1e-7f);
  EXPECT_NEAR(v.north, 0.0f, 1e-7f);
}

TEST_F(OrographyTest, TermsTakeUpTheRingsWithinFiveTermLengths) {
  // A change from 0.03 to 0.3 at 100 m counts for the terms with L > 100 / 5.
  rose.changes[0] = 1;
  rose.z0[1][0] = 0.3f;
  rose.distance[0][0] = 100.0f;
  // Term 1: ze = exp(ln 0.3 - 2.3025851 (1 - e^-0.01) / (1 - e^-0.15)) = 0.25449977.
  SetTerm(1);
  WindVector v = OrographicVector(TestCore(), rose, 10.0f, 0, 4);
  EXPECT_NEAR(v.east, -0.35897061f, 2e-6f);
  EXPECT_NEAR(v.north, -1.5384559f, 2e-6f);
  // Term 14: L = 300 * 0.0668389 = 20.05167 m > 20 m, ze = 0.030177637.
  testing::ClearGrid();
  TestCore().grid.lengthScale = 1000.0f;
  SetTerm(14);
  v = OrographicVector(TestCore(), rose, 10.0f, 0, 4);
  EXPECT_NEAR(v.east, -0.076165794f, 2e-6f);
  EXPECT_NEAR(v.north, -1.1142487f, 2e-6f);
  // Term 15: L = 18.07086 m < 20 m, the change is not taken up: ze = 0.03.
  testing::ClearGrid();
  TestCore().grid.lengthScale = 1000.0f;
  SetTerm(15);
  v = OrographicVector(TestCore(), rose, 10.0f, 0, 4);
  EXPECT_NEAR(v.east, -0.069810977f, 2e-6f);
  EXPECT_NEAR(v.north, -1.1047165f, 2e-6f);
}

TEST_F(OrographyTest, TrueUpwindOffTakesEachSectorsOwnVector) {
  SetTerm(1);
  for (float trueUpwind : {0.0f, 0.4f}) {  // rounded to the nearest integer
    SetParameter(kTrueUpwind, trueUpwind);
    SiteEffects(TestCore(), 10.0f, rose, table);
    // Length and angle from the sector direction of each own vector (south
    // and west mirror north and east).
    EXPECT_NEAR(Factor(0), 1.3861948f, 2e-6f);
    EXPECT_NEAR(Turning(0), 10.101864f, 2e-4f);
    EXPECT_NEAR(Factor(1), 1.6261217f, 2e-6f);
    EXPECT_NEAR(Turning(1), -8.5990794f, 2e-4f);
  }
}

TEST_F(OrographyTest, TrueUpwindOnInterpolatesTheBracketingPair) {
  SetTerm(1);
  for (float trueUpwind : {1.0f, 0.6f}) {
    SetParameter(kTrueUpwind, trueUpwind);
    SiteEffects(TestCore(), 10.0f, rose, table);
    // North: the vectors of west and north bracket it; east: north and east.
    EXPECT_NEAR(Factor(0), 1.3893874f, 2e-6f);
    EXPECT_NEAR(Turning(0), 9.8530170f, 2e-4f);
    EXPECT_NEAR(Factor(1), 1.6238488f, 2e-6f);
    EXPECT_NEAR(Turning(1), -8.4219226f, 2e-4f);
  }
}

// Unit vector of compass bearing b (degrees) turned by `turn` degrees
// counter-clockwise and scaled to `length`.
WindVector Turned(float bearing, float turn, float length) {
  const float theta = (450.0f - bearing + turn) * 3.14159265f / 180.0f;
  return {-length * std::cos(theta), -length * std::sin(theta)};
}

TEST_F(OrographyTest, TrueUpwindStepByHand) {
  // North turned 30 degrees counter-clockwise and 1.1 long; east, south and
  // west unturned, 1.3, 1.0 and 1.0 long.
  const WindVector vectors[4] = {Turned(0, 30, 1.1f), Turned(90, 0, 1.3f), Turned(180, 0, 1.0f),
                                 Turned(270, 0, 1.0f)};
  TrueUpwind(vectors, 4, false, table);
  EXPECT_NEAR(Factor(0), 1.1f, 1e-6f);
  EXPECT_NEAR(Turning(0), -30.0f, 1e-4f);
  EXPECT_NEAR(Factor(1), 1.3f, 1e-6f);
  EXPECT_NEAR(Turning(1), 0.0f, 1e-4f);
  // North lies between the north vector (Ep = cos 30) and the east vector
  // (Eq = cos 90 = 0), 120 degrees apart: T = -30 / (2 - cos 30),
  // S = (1.1 + (1 - cos 30) 1.3) / (2 - cos 30).
  TrueUpwind(vectors, 4, true, table);
  EXPECT_NEAR(Factor(0), 1.1236292f, 1e-6f);
  EXPECT_NEAR(Turning(0), -26.455619f, 1e-4f);
  EXPECT_NEAR(Factor(1), 1.3f, 1e-6f);
  EXPECT_NEAR(Turning(1), 0.0f, 1e-4f);
  EXPECT_NEAR(Factor(2), 1.0f, 1e-6f);
  EXPECT_NEAR(Factor(3), 1.0f, 1e-6f);
  // Slots other than 2 are not touched.
  EXPECT_EQ(table.speedFactor[EffectIndex(1, 0, 4)], 7.0f);
  EXPECT_EQ(table.speedFactor[EffectIndex(3, 0, 4)], 7.0f);
}

TEST_F(OrographyTest, TrueUpwindFallsBackToOwnVectorWhenNoPairBrackets) {
  // Every vector blows east, 1.2 long: only the west sector's direction is
  // bracketed (by its own vector, turning 0); the others keep their own.
  WindVector vectors[4];
  for (WindVector& v : vectors) v = {1.2f, 0.0f};
  TrueUpwind(vectors, 4, true, table);
  EXPECT_NEAR(Factor(0), 1.2f, 1e-6f);
  EXPECT_NEAR(Turning(0), -90.0f, 1e-4f);
  EXPECT_NEAR(Factor(1), 1.2f, 1e-6f);
  EXPECT_NEAR(std::fabs(Turning(1)), 180.0f, 1e-4f);
  EXPECT_NEAR(Factor(2), 1.2f, 1e-6f);
  EXPECT_NEAR(Turning(2), 90.0f, 1e-4f);
  EXPECT_NEAR(Factor(3), 1.2f, 1e-6f);
  EXPECT_NEAR(Turning(3), 0.0f, 1e-4f);
  // Vectors without length cannot bracket anything and give factor 0.
  for (WindVector& v : vectors) v = {0.0f, 0.0f};
  TrueUpwind(vectors, 4, true, table);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(Factor(j), 0.0f);
    EXPECT_EQ(Turning(j), 0.0f);
  }
}

TEST_F(OrographyTest, AnyGridGivesFiniteEntries) {
  const float scales[] = {1000.0f, 1e-30f, 0.015f, 1e30f, kNaN, kInf, -1000.0f};
  const float values[] = {kNaN, kInf, -kInf, 1e38f, -1e38f, 1e20f, 0.0f, -3.0f};
  rose.changes[0] = 2;
  rose.z0[1][0] = 0.0f;
  rose.z0[2][0] = 1.5f;
  rose.distance[0][0] = 0.0f;
  rose.distance[1][0] = 50.0f;
  for (float trueUpwind : {0.0f, 1.0f}) {
    SetParameter(kTrueUpwind, trueUpwind);
    for (float scale : scales) {
      for (float value : values) {
        testing::ClearGrid();
        TestCore().grid.lengthScale = scale;
        for (int k = 0; k < kGridTermCount; k += 7)
          TestCore().grid.coefficients[1][k][k % 3] = value;
        for (float z : {0.0f, 0.03f, 1.5f, 10.0f, kInf}) {
          SiteEffects(TestCore(), z, rose, table);
          for (int i = 0; i < kEffectSlots * 4; ++i) {
            ASSERT_TRUE(std::isfinite(table.speedFactor[i])) << scale << " " << value << " " << z;
            ASSERT_TRUE(std::isfinite(table.turning[i])) << scale << " " << value << " " << z;
          }
        }
      }
    }
  }
}

TEST_F(OrographyTest, ProfileBelowTwiceTheEffectiveRoughnessIsTakenAtTwice) {
  // Forest roughness 1.5 m, term 40 alone: L = 300 * 0.00444729 = 1.334187 m,
  // inner height 0.3744 m, profile ln(1.334187 / 1.5) = -0.11714299. At a
  // height of 1.5001 m ln(z / ze) would be 6.7e-5 and the term ~1e5 times too
  // large; with the denominator taken at 2 ze, f = e^(-z/L) T Lambda / (ln 2)^2.
  testing::UniformRose(rose, 1.5f);
  SetTerm(40);
  WindVector v = OrographicVector(TestCore(), rose, 1.5001f, 0, 4);
  EXPECT_NEAR(v.east, -0.00092785575f, 1e-7f);
  EXPECT_NEAR(v.north, -1.0013918f, 1e-6f);
  v = OrographicVector(TestCore(), rose, 0.0f, 0, 4);
  EXPECT_NEAR(v.east, -0.0028561545f, 1e-7f);
  EXPECT_NEAR(v.north, -1.0042842f, 1e-6f);
}

}  // namespace
}  // namespace kavi::numerics
