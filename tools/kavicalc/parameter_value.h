// A parameter value as the server hands it out: a 4-byte integer, a single
// real or a boolean (or, from another server, any number).
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi::tool {

struct ParameterValue {
  enum class Kind { Integer, Single, Double, Boolean };
  Kind kind = Kind::Double;
  double number = 0;  // holds an integer or a single exactly
  bool flag = false;
};

// Reads a variant; a type other than the usual ones is converted to a double.
// Throws CallFailure when that conversion fails.
ParameterValue ParameterValueOf(const VARIANT& value);

// "5", "0.03", "false": the same text in the table and in JSON.
std::string ParameterValueText(const ParameterValue& value);
// As above, but a real always reads as a real in JSON ("10000.0").
std::string ParameterValueJson(const ParameterValue& value);

}  // namespace kavi::tool
