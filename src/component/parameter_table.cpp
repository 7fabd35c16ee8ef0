#include "component/parameter_table.h"

#include <bit>
#include <cstdint>

#include "model/edition.h"

namespace kavi::component {

const std::array<float, kVectorSize>& FixedDefaultVector() {
  static const std::array<float, kVectorSize> vector = {
      12,     10000, 100,
      0.12f,  0.11f, 1000,
      1,      0.4f,  0.485f,
      1.8f,  // 1-10
      4.5f,   5,     10,
      25,     50,    100,
      200,    4,     0,
      0.03f,  // 11-20
      0.1f,   0.4f,  1.0f,
      0,      0,     0.27f,
      0.3f,   1000,  5,
      0.67f,  // 21-30
      10000,  0,     1.06f,
      0,      1,     12,
      1,      1,     0.9f,
      0.3f,  // 31-40
      0.09f,  5,     2,
      10,     0.5f,  0.2f,
      12,     240,   30,
      30,  // 41-50
      50,     0,     0,
      0.002f, 1.65f, 100,
      30,     -40,   15,
      0.5f,  // 51-60
      0.6f,   0.6f,  3,
      16,     6,     50,
      7,      0.3f,  0,
      0,  // 61-70
      4000,   25.2f, std::bit_cast<float>(std::uint32_t{0x43B40AAB}),
      1,      20000, 0.5f,
      1};
  return vector;
}

const std::array<ParameterDefinition, kNamedParameters>& ParameterDefinitions() {
  static const std::array<ParameterDefinition, kNamedParameters> table = [] {
    const model::Edition& e = model::CurrentEdition();
    return std::array<ParameterDefinition, kNamedParameters>{{
        {u"NUMSTDH", VT_I4, 5, 2, 5, 12},
        {u"STDH1", VT_R4, 10, 5, 200, 13},
        {u"STDH2", VT_R4, 25, 5, 200, 14},
        {u"STDH3", VT_R4, 50, 5, 200, 15},
        {u"STDH4", VT_R4, 100, 5, 200, 16},
        {u"STDH5", VT_R4, 200, 5, 200, 17},
        {u"NUMSTDR", VT_I4, e.defaultNumStdRoughness, 2, 5, 18},
        {u"STDR1", VT_R4, 0, 0, 2, 19},
        {u"STDR2", VT_R4, 0.03f, 0, 2, 20},
        {u"STDR3", VT_R4, 0.1f, 0, 2, 21},
        {u"STDR4", VT_R4, 0.4f, 0, 2, 22},
        {u"STDR5", VT_R4, e.defaultStdRoughness5, 0, 2, 23},
        {u"WIDTHCZ", VT_R4, 10000, 5000, 50000, 2},
        {u"DYLAND", VT_R4, 100, 50, 100, 3},
        {u"DYAMPLI", VT_R4, 0.12f, 0.01f, 0.25f, 4},
        {u"AOFSNEU", VT_R4, 0.11f, 0.01f, 0.25f, 5},
        {u"BZINVHE", VT_R4, 1000, 100, 5000, 6},
        {u"BZSOFTN", VT_R4, 1, 0, 1, 7},
        {u"RDECAYL", VT_R4, 10000, 1000, 1000000, 31},
        {u"TRUEUPW", VT_BOOL, 0, 0, 1, 34},
        {u"BZAZRES", VT_I4, 5, 1, 15, 42},
        {u"DYWATER", VT_R4, 50, 25, 300, 51},
        {u"STABFAC", VT_R4, 0.002f, 0, 0.005f, 54},
        {u"RMSLAND", VT_R4, 100, 0, 200, 56},
        {u"RMSWATER", VT_R4, 30, 0, 200, 57},
        {u"OFSLAND", VT_R4, -40, -200, 200, 58},
        {u"OFSWATER", VT_R4, 15, -200, 200, 59},
        {u"RNUMSECT", VT_I4, e.defaultRoseSubSectors, 1, 9, 65},
        {u"MAXRC", VT_I4, e.defaultMaxRoughnessChanges, 1, 10, 67},
        {u"MAXRADIUS", VT_R4, 20000, 5000, 50000, 75},
    }};
  }();
  return table;
}

}  // namespace kavi::component
