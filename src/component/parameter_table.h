// The parameter vector of a configuration: the fixed default vector of 77
// elements and the 30 named parameters that a host can read and change.
#pragma once

#include <kavi/abi.h>

#include <array>

namespace kavi::component {

constexpr int kVectorSize = 77;
constexpr int kNamedParameters = 30;

struct ParameterDefinition {
  const char16_t* id;
  VARTYPE type;  // VT_I4, VT_R4 or VT_BOOL
  float defaultValue;
  float minimum;
  float maximum;
  int element;  // 1 … 77
};

// The 77 fixed defaults (before the named defaults are written over them).
const std::array<float, kVectorSize>& FixedDefaultVector();
// The named parameters in the order the configuration creates them, with the
// defaults of the edition in use.
const std::array<ParameterDefinition, kNamedParameters>& ParameterDefinitions();

}  // namespace kavi::component
