#include "parameter_value.h"

#include <kavi/runtime.h>

#include "call_failure.h"
#include "com_ptr.h"
#include "number_text.h"

namespace kavi::tool {

ParameterValue ParameterValueOf(const VARIANT& value) {
  ParameterValue result;
  switch (value.vt) {
    case VT_I4:
      result.kind = ParameterValue::Kind::Integer;
      result.number = value.lVal;
      return result;
    case VT_R4:
      result.kind = ParameterValue::Kind::Single;
      result.number = value.fltVal;
      return result;
    case VT_BOOL:
      result.kind = ParameterValue::Kind::Boolean;
      result.flag = value.boolVal != VARIANT_FALSE;
      return result;
    default: {
      Variant converted;
      Check(VariantChangeType(converted.get(), &value, 0, VT_R8), nullptr, GUID_NULL);
      result.number = converted->dblVal;
      return result;
    }
  }
}

std::string ParameterValueText(const ParameterValue& value) {
  switch (value.kind) {
    case ParameterValue::Kind::Integer:
      return FixedText(value.number, 0);
    case ParameterValue::Kind::Single:
      return ShortestText(static_cast<float>(value.number));
    case ParameterValue::Kind::Boolean:
      return value.flag ? "true" : "false";
    case ParameterValue::Kind::Double:
      break;
  }
  return ShortestText(value.number);
}

std::string ParameterValueJson(const ParameterValue& value) {
  switch (value.kind) {
    case ParameterValue::Kind::Single:
      return JsonReal(static_cast<float>(value.number));
    case ParameterValue::Kind::Double:
      return JsonReal(value.number);
    case ParameterValue::Kind::Integer:
    case ParameterValue::Kind::Boolean:
      break;
  }
  return ParameterValueText(value);
}

}  // namespace kavi::tool
