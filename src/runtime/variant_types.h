// What the runtime knows about variant types: which a VARIANT may hold and how
// large a value of each is in a safe array or behind a by-reference pointer.
#pragma once

#include <kavi/abi.h>

namespace kavi::runtime {

// Size of one value of the scalar type vt (VT_I4, VT_BSTR, VT_VARIANT, ...) as
// stored in a safe array or referenced by a VT_BYREF variant; 0 when the type
// cannot be an array element.
std::uint32_t ValueSize(VARTYPE vt);

// True for the types a VARIANT may carry: the scalar types, VT_ARRAY of an
// element type, and VT_BYREF of either.
bool IsKnownVariantType(VARTYPE vt);

// True for VT_ARRAY | element with a supported element type (not by reference).
bool IsArrayType(VARTYPE vt);

}  // namespace kavi::runtime
