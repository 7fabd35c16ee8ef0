// The parameter vector of a configuration: the fixed default vector of 77
// elements and the 30 named parameters that a host can read and change, both
// taken from the parameter table, with the named defaults of the edition.
#pragma once

#include <kavi/abi.h>

#include <array>
#include <string>

#include "parameters/parameter_table.h"

namespace kavi::component {

constexpr int kVectorSize = parameters::kElementCount;
constexpr int kNamedParameters = parameters::kNamedCount;

struct ParameterDefinition {
  std::u16string id;
  VARTYPE type;  // VT_I4, VT_R4 or VT_BOOL
  float defaultValue;
  float minimum;
  float maximum;
  int element;  // 1 … 77
};

// The 77 fixed defaults (before the named defaults are written over them).
const std::array<float, kVectorSize>& FixedDefaultVector();
// The named parameters in the order the configuration creates them (element
// order), with the defaults of the edition in use.
const std::array<ParameterDefinition, kNamedParameters>& ParameterDefinitions();

}  // namespace kavi::component
