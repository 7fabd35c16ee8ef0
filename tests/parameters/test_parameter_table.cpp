// The parameter table against the configuration as it is specified: one row
// per element with the initial vector's value, the 30 named parameters on
// their elements with their types, the numerical core's names on the elements
// whose roles they name, and the configuration built from the table.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "component/parameter_table.h"
#include "numerics/parameter_elements.h"
#include "parameters/parameter_table.h"

namespace kavi::parameters {
namespace {

using namespace numerics;

std::uint32_t Bits(float x) { return std::bit_cast<std::uint32_t>(x); }

TEST(ParameterTable, HoldsEveryElementOnceWithTheInitialVectorsValue) {
  // The initial parameter vector, with the fixed vector's 4, 1.0, 6 and 7 at
  // elements 18, 23, 65 and 67; element 73 is the single of bits 0x43B40AAB.
  const float e73 = std::bit_cast<float>(std::uint32_t{0x43B40AAB});
  const float kInitial[] = {
      12,    10000, 100,   0.12f,  0.11f, 1000,  1,    0.4f, 0.485f, 1.8f,   // 1-10
      4.5f,  5,     10,    25,     50,    100,   200,  4,    0,      0.03f,  // 11-20
      0.1f,  0.4f,  1.0f,  0,      0,     0.27f, 0.3f, 1000, 5,      0.67f,  // 21-30
      10000, 0,     1.06f, 0,      1,     12,    1,    1,    0.9f,   0.3f,   // 31-40
      0.09f, 5,     2,     10,     0.5f,  0.2f,  12,   240,  30,     30,     // 41-50
      50,    0,     0,     0.002f, 1.65f, 100,   30,   -40,  15,     0.5f,   // 51-60
      0.6f,  0.6f,  3,     16,     6,     50,    7,    0.3f, 0,      0,      // 61-70
      4000,  25.2f, e73,   1,      20000, 0.5f,  1};                         // 71-77
  static_assert(std::size(kInitial) == 77);
  ASSERT_EQ(kElementCount, 77);
  for (int n = 1; n <= kElementCount; ++n) {
    const ParameterRow& row = kParameterTable[n - 1];
    EXPECT_EQ(row.element, n);  // so every number 1 … 77 appears exactly once
    EXPECT_EQ(Bits(row.value), Bits(kInitial[n - 1])) << "element " << n;
    EXPECT_FALSE(row.meaning.empty()) << "element " << n;
    if (!row.named()) {
      EXPECT_EQ(Bits(row.minimum), Bits(row.value)) << "element " << n;
      EXPECT_EQ(Bits(row.maximum), Bits(row.value)) << "element " << n;
    }
  }
}

TEST(ParameterTable, NamedParametersSitOnTheirElementsWithTheirTypesAndNames) {
  struct Named {
    const char* id;
    int element;
    ValueType type;
    int name;  // the numerical core's name of the element
  };
  const ValueType I = ValueType::kInteger, R = ValueType::kReal, B = ValueType::kBoolean;
  const Named kNamed[] = {{"NUMSTDH", 12, I, kNumStdHeights},
                          {"STDH1", 13, R, kStdHeight1},
                          {"STDH2", 14, R, kStdHeight2},
                          {"STDH3", 15, R, kStdHeight3},
                          {"STDH4", 16, R, kStdHeight4},
                          {"STDH5", 17, R, kStdHeight5},
                          {"NUMSTDR", 18, I, kNumStdRoughness},
                          {"STDR1", 19, R, kStdRoughness1},
                          {"STDR2", 20, R, kStdRoughness2},
                          {"STDR3", 21, R, kStdRoughness3},
                          {"STDR4", 22, R, kStdRoughness4},
                          {"STDR5", 23, R, kStdRoughness5},
                          {"WIDTHCZ", 2, R, kCoastalZoneWidth},
                          {"DYLAND", 3, R, kLandLayerHeight},
                          {"DYAMPLI", 4, R, kLandSpreadNeutral},
                          {"AOFSNEU", 5, R, kLandAmplitudeNeutral},
                          {"BZINVHE", 6, R, kInversionHeight},
                          {"BZSOFTN", 7, R, kInversionSoftening},
                          {"RDECAYL", 31, R, kRoughnessDecayLength},
                          {"TRUEUPW", 34, B, kTrueUpwind},
                          {"BZAZRES", 42, I, kRaySpacing},
                          {"DYWATER", 51, R, kWaterLayerHeight},
                          {"STABFAC", 54, R, kStabilityFactor},
                          {"RMSLAND", 56, R, kLandFluxRms},
                          {"RMSWATER", 57, R, kWaterFluxRms},
                          {"OFSLAND", 58, R, kLandFluxOffset},
                          {"OFSWATER", 59, R, kWaterFluxOffset},
                          {"RNUMSECT", 65, I, kRoseSubRays},
                          {"MAXRC", 67, I, kMaxChangesPerSector},
                          {"MAXRADIUS", 75, R, kMaxSearchRadius}};
  ASSERT_EQ(kNamedCount, 30);
  std::set<std::string> ids;
  for (const ParameterRow& row : kParameterTable) {
    if (!row.named()) continue;
    EXPECT_TRUE(ids.insert(std::string(row.id)).second) << row.id << " twice";
    EXPECT_LE(row.minimum, row.maximum) << row.id;
    EXPECT_TRUE(row.minimum <= row.value && row.value <= row.maximum) << row.id;
  }
  for (const Named& n : kNamed) {
    const ParameterRow* row = FindNamed(n.id);
    ASSERT_NE(row, nullptr) << n.id;
    EXPECT_EQ(row->element, n.element) << n.id;
    EXPECT_EQ(row->type, n.type) << n.id;
    EXPECT_EQ(n.name, n.element) << n.id;
  }
  EXPECT_EQ(ids.size(), std::size(kNamed));
  EXPECT_EQ(FindNamed("stdh1"), nullptr);  // IDs are exact
  EXPECT_EQ(FindNamed(""), nullptr);

  // Elements the routines read under a name of their role, without an ID.
  const std::pair<int, int> kRoles[] = {{kSectorCountElement, 1},
                                        {kVonKarman, 8},
                                        {kFrictionRatio, 9},
                                        {kDragA0, 10},
                                        {kDragB0, 11},
                                        {kBoundaryLayerConstant, 39},
                                        {kBlendTop, 40},
                                        {kBlendBottom, 41},
                                        {kLowestLatitude, 44},
                                        {kWakeShadowFactor, 45},
                                        {kWakeRiseFactor, 46},
                                        {kShelterSmoothing, 47},
                                        {kLowestGeostrophicWind, 64},
                                        {kRoughnessChangeThreshold, 68},
                                        {kGridSpread, 76}};
  for (const auto& [name, element] : kRoles) {
    EXPECT_EQ(name, element);
    EXPECT_FALSE(kParameterTable[element - 1].named()) << element;
  }
}

TEST(ParameterTable, TheConfigurationTakesItsParametersAndTheEditionsDefaults) {
  // This library is the current edition, whose four own defaults replace the
  // fixed vector's: NUMSTDR 5, STDR5 1.5, RNUMSECT 9 and MAXRC 10.
  const auto& fixed = component::FixedDefaultVector();
  for (const ParameterRow& row : kParameterTable)
    EXPECT_EQ(Bits(fixed[row.element - 1]), Bits(row.value)) << row.element;
  int count = 0;
  for (const component::ParameterDefinition& d : component::ParameterDefinitions()) {
    ++count;
    const ParameterRow& row = kParameterTable[d.element - 1];
    EXPECT_EQ(d.id, std::u16string(row.id.begin(), row.id.end()));
    EXPECT_TRUE(d.minimum <= d.defaultValue && d.defaultValue <= d.maximum) << row.id;
    float expected = row.value;
    if (d.element == kNumStdRoughness) expected = 5.0f;
    if (d.element == kStdRoughness5) expected = 1.5f;
    if (d.element == kRoseSubRays) expected = 9.0f;
    if (d.element == kMaxChangesPerSector) expected = 10.0f;
    EXPECT_EQ(Bits(d.defaultValue), Bits(expected)) << row.id;
  }
  EXPECT_EQ(count, 30);
}

}  // namespace
}  // namespace kavi::parameters
