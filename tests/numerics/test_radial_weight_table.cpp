// The committed radial weight table of the orographic spectrum against the
// values it must reproduce and against the rule that generated it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "../../tools/weight_table/weight_table_rule.h"
#include "numerics/numerical_state.h"
#include "numerics/radial_weight_table.h"
#include "numerics/support/test_core.h"

namespace kavi::test {
namespace {

namespace rule = weight_table;
using numerics::kSpectrumWeights;

// T[k][i] with term and node counted from 1.
float Weight(int term, int node) { return kSpectrumWeights[term - 1][node - 1]; }

TEST(SpectrumWeightTableTest, ReproducesKnownValues) {
  struct Known {
    int term;
    int node;
    double value;
  };
  const Known known[] = {{1, 1, 1.3864e-10},  {1, 2, 5.4698e-10}, {1, 50, 1.6663e-4},
                         {1, 95, 0.1577},     {1, 100, 0.01587},  {2, 98, -0.2158},
                         {31, 50, -0.29008},  {62, 1, 0.054036},  {62, 2, 0.09276},
                         {62, 100, 1.5168e-5}};
  for (const Known& k : known) {
    EXPECT_NEAR(Weight(k.term, k.node), k.value, 2e-4 * std::abs(k.value))
        << "term " << k.term << " node " << k.node;
  }
  const float* row1 = kSpectrumWeights[0];
  EXPECT_EQ(std::max_element(row1, row1 + 100) - row1 + 1, 95);
}

TEST(SpectrumWeightTableTest, TermBandsMatchTheTermScales) {
  TestCore().LoadGridConstants();
  const double beta1 = rule::BesselJ1Zero(1);
  for (int k = 1; k <= 62; ++k) {
    const double scale = beta1 / rule::BesselJ1Zero(rule::FirstMode(k));
    EXPECT_NEAR(scale, TestCore().gridTermWeights[k - 1], 2e-5 * scale) << "term " << k;
  }
  // The last band ends at the last mode whose scale is at least three node-1 radii.
  EXPECT_LE(rule::FirstMode(62), rule::kLastMode);
  EXPECT_GT(rule::FirstMode(63), rule::kLastMode);
  EXPECT_GE(beta1 / rule::BesselJ1Zero(rule::kLastMode), 3.0 * rule::NodeRadius(1));
  EXPECT_LT(beta1 / rule::BesselJ1Zero(rule::kLastMode + 1), 3.0 * rule::NodeRadius(1));
  EXPECT_NEAR(rule::NodeRadius(1), 1.67289e-4, 1e-9);
  EXPECT_DOUBLE_EQ(rule::NodeRadius(101), 1.0);
}

// Weights of one mode before the taper give its Fourier–Bessel coefficient: 1
// for a profile J1(β_n r) sampled at the nodes, 0 for another mode (up to the
// error of interpolating linearly between the outer nodes).
TEST(SpectrumWeightTableTest, ModeWeightsAreFourierBesselCoefficients) {
  for (int n : {1, 2, 3}) {
    double weights[100] = {};
    rule::AddModeWeights(n, weights);
    for (int m : {1, 2, 3, 5}) {
      const double beta = rule::BesselJ1Zero(m);
      double coefficient = 0.0;
      for (int i = 1; i <= 100; ++i) {
        coefficient += weights[i - 1] * std::cyl_bessel_j(1.0, beta * rule::NodeRadius(i));
      }
      EXPECT_NEAR(coefficient, m == n ? 1.0 : 0.0, 0.01) << "mode " << n << " profile " << m;
    }
  }
}

TEST(SpectrumWeightTableTest, EdgeNodesAreTapered) {
  double untapered[100] = {};
  rule::AddModeWeights(2, untapered);
  EXPECT_NEAR(Weight(2, 97) / untapered[96], 1.0, 1e-6);
  EXPECT_NEAR(Weight(2, 98) / untapered[97], 0.804, 0.002);
  EXPECT_NEAR(Weight(2, 99) / untapered[98], 0.552, 0.002);
}

TEST(SpectrumWeightTableTest, GeneratorReproducesCommittedRows) {
  for (int term : {1, 2, 3, 5, 9, 10, 11, 12, 20, 31, 45, 62}) {
    float row[100];
    rule::ComputeTermRow(term, row);
    for (int i = 0; i < 100; ++i) {
      EXPECT_NEAR(row[i], kSpectrumWeights[term - 1][i],
                  2e-7f * std::abs(kSpectrumWeights[term - 1][i]))
          << "term " << term << " node " << i + 1;
    }
  }
}

}  // namespace
}  // namespace kavi::test
