// The parameter table: every element of the 77-element parameter vector with
// its fixed default, its unit and meaning, and for the 30 named configuration
// parameters their ID, value type and valid range. Made at compile time from
// parameter_table.def, the one source that the numerical core's element names
// (numerics/parameter_elements.h), the configuration and the tools share.
// Below every layer: the C++ standard library only.
#pragma once

#include <bit>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace kavi::parameters {

enum class ValueType { kInteger, kReal, kBoolean };

struct ParameterRow {
  int element;            // 1 … 77; the row for element n is kParameterTable[n - 1]
  std::string_view id;    // configuration ID; empty when the element is not named
  ValueType type;         // how the configuration hands the value out
  float value;            // the element's entry in the fixed default vector
  float minimum;          // inclusive valid range of a named parameter; a fixed
  float maximum;          // element's range is its value
  std::string_view unit;  // empty for a dimensionless number
  std::string_view meaning;

  constexpr bool named() const { return !id.empty(); }
};

inline constexpr std::string_view kUnreadMeaning =
    "read by no calculation; kept so that the vector keeps its numbering";

inline constexpr ParameterRow kParameterTable[] = {
#define KAVI_NAMED(element, name, id, type, value, minimum, maximum, unit, meaning) \
  {element, id, ValueType::type, value, minimum, maximum, unit, meaning},
#define KAVI_FIXED(element, name, type, value, unit, meaning) \
  {element, "", ValueType::type, value, value, value, unit, meaning},
#define KAVI_UNREAD(element, value) \
  {element, "", ValueType::kReal, value, value, value, "", kUnreadMeaning},
#include "parameters/parameter_table.def"
};

inline constexpr int kElementCount = static_cast<int>(std::size(kParameterTable));

inline constexpr int kNamedCount = [] {
  int count = 0;
  for (const ParameterRow& row : kParameterTable) count += row.named() ? 1 : 0;
  return count;
}();

// The row of a named parameter, or nullptr for an ID the table does not hold.
constexpr const ParameterRow* FindNamed(std::string_view id) {
  if (id.empty()) return nullptr;
  for (const ParameterRow& row : kParameterTable)
    if (row.id == id) return &row;
  return nullptr;
}

}  // namespace kavi::parameters
