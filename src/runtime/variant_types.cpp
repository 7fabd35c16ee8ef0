// Type rules shared by variants and safe arrays.
#include "variant_types.h"

namespace kavi::runtime {

namespace {
// Scalar types a VARIANT holds by value (VT_VARIANT only by reference or in arrays).
bool IsScalarType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_UI1:
      return true;
    default:
      return false;
  }
}
}  // namespace

std::uint32_t ValueSize(VARTYPE vt) {
  switch (vt) {
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_R8:
      return 8;
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return sizeof(void*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

bool IsArrayType(VARTYPE vt) {
  return (vt & VT_ARRAY) != 0 && (vt & VT_BYREF) == 0 && ValueSize(vt & ~VT_ARRAY) != 0;
}

bool IsKnownVariantType(VARTYPE vt) {
  if (vt & VT_BYREF) {
    const VARTYPE target = vt & ~VT_BYREF;
    if (target == VT_EMPTY || target == VT_NULL) return false;
    return IsArrayType(target) || ValueSize(target) != 0;
  }
  return IsArrayType(vt) || IsScalarType(vt);
}

}  // namespace kavi::runtime
