// Deep copy of one variant value, shared by VariantCopy, the type conversion
// and safe arrays.
#pragma once

#include <kavi/abi.h>

namespace kavi::runtime {

// Writes a deep copy of source into target, which is treated as uninitialised:
// strings are duplicated, interfaces AddRef'd, arrays copied element by element;
// a by-reference variant is copied as the reference. On failure target is
// VT_EMPTY. source must have a known type.
HRESULT CopyVariantValue(VARIANT& target, const VARIANT& source);

}  // namespace kavi::runtime
