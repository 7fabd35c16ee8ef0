#include "component/parameter_table.h"

#include "model/edition.h"
#include "numerics/parameter_elements.h"

namespace kavi::component {

namespace {

using parameters::ParameterRow;
using parameters::ValueType;

VARTYPE VarTypeOf(ValueType type) {
  switch (type) {
    case ValueType::kInteger:
      return VT_I4;
    case ValueType::kBoolean:
      return VT_BOOL;
    case ValueType::kReal:
      break;
  }
  return VT_R4;
}

// The default the configuration writes over the element: the edition's own
// for the four parameters whose defaults differ between the editions, the
// fixed vector's entry for all others.
float NamedDefault(const ParameterRow& row, const model::Edition& e) {
  switch (row.element) {
    case numerics::kNumStdRoughness:
      return e.defaultNumStdRoughness;
    case numerics::kStdRoughness5:
      return e.defaultStdRoughness5;
    case numerics::kRoseSubRays:
      return e.defaultRoseSubSectors;
    case numerics::kMaxChangesPerSector:
      return e.defaultMaxRoughnessChanges;
    default:
      return row.value;
  }
}

}  // namespace

const std::array<float, kVectorSize>& FixedDefaultVector() {
  static constexpr std::array<float, kVectorSize> vector = [] {
    std::array<float, kVectorSize> fixed{};
    for (const ParameterRow& row : parameters::kParameterTable) fixed[row.element - 1] = row.value;
    return fixed;
  }();
  return vector;
}

const std::array<ParameterDefinition, kNamedParameters>& ParameterDefinitions() {
  static const std::array<ParameterDefinition, kNamedParameters> table = [] {
    const model::Edition& e = model::CurrentEdition();
    std::array<ParameterDefinition, kNamedParameters> named;
    int i = 0;
    for (const ParameterRow& row : parameters::kParameterTable) {
      if (!row.named()) continue;
      // IDs are plain ASCII, so each character is one UTF-16 code unit.
      named[i++] = {std::u16string(row.id.begin(), row.id.end()),
                    VarTypeOf(row.type),
                    NamedDefault(row, e),
                    row.minimum,
                    row.maximum,
                    row.element};
    }
    return named;
  }();
  return table;
}

}  // namespace kavi::component
