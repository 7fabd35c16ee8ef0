// VariantChangeType: one converter per (source kind, target kind) pair. Every
// converter writes a fresh value into a temporary; only a successful result
// replaces the destination, so a failure leaves it untouched and source and
// destination may be the same variant.
#include <kavi/runtime.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "number_text.h"
#include "variant_types.h"
#include "variant_value.h"

namespace kavi {

namespace {

using runtime::ParseStatus;

enum Kind {
  kEmpty,
  kNull,
  kI2,
  kI4,
  kR4,
  kR8,
  kBstr,
  kDispatch,
  kError,
  kBool,
  kUnknown,
  kUi1,
  kArray,
  kKindCount
};

int KindOf(VARTYPE vt) {
  if (runtime::IsArrayType(vt)) return kArray;
  switch (vt) {
    case VT_EMPTY:
      return kEmpty;
    case VT_NULL:
      return kNull;
    case VT_I2:
      return kI2;
    case VT_I4:
      return kI4;
    case VT_R4:
      return kR4;
    case VT_R8:
      return kR8;
    case VT_BSTR:
      return kBstr;
    case VT_DISPATCH:
      return kDispatch;
    case VT_ERROR:
      return kError;
    case VT_BOOL:
      return kBool;
    case VT_UNKNOWN:
      return kUnknown;
    case VT_UI1:
      return kUi1;
    default:
      return -1;
  }
}

// A numeric value on its way between types: integers stay exact.
struct Number {
  bool real;
  std::int64_t integer;
  double value;
};

Number NumberOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2:
      return {false, v.iVal, 0};
    case VT_I4:
      return {false, v.lVal, 0};
    case VT_UI1:
      return {false, v.bVal, 0};
    case VT_BOOL:
      return {false, v.boolVal ? -1 : 0, 0};
    case VT_R4:
      return {true, 0, v.fltVal};
    case VT_R8:
      return {true, 0, v.dblVal};
    default:
      return {false, 0, 0};  // VT_EMPTY
  }
}

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2) == 0 ? below : below + 1;
}

HRESULT StoreInteger(const Number& n, std::int64_t low, std::int64_t high, std::int64_t& out) {
  if (n.real) {
    const double rounded = RoundHalfEven(n.value);  // NaN stays NaN and fails below
    if (!(rounded >= static_cast<double>(low) && rounded <= static_cast<double>(high)))
      return DISP_E_OVERFLOW;
    out = static_cast<std::int64_t>(rounded);
    return S_OK;
  }
  if (n.integer < low || n.integer > high) return DISP_E_OVERFLOW;
  out = n.integer;
  return S_OK;
}

HRESULT StoreNumber(const Number& n, VARTYPE to, VARIANT& out) {
  std::int64_t integer = 0;
  HRESULT h = S_OK;
  switch (to) {
    case VT_R8:
      out.dblVal = n.real ? n.value : static_cast<double>(n.integer);
      break;
    case VT_R4:
      if (n.real && std::isfinite(n.value) && std::fabs(n.value) > FLT_MAX) return DISP_E_OVERFLOW;
      out.fltVal = n.real ? static_cast<float>(n.value) : static_cast<float>(n.integer);
      break;
    case VT_BOOL:
      out.boolVal = (n.real ? n.value != 0 : n.integer != 0) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_I4:
      h = StoreInteger(n, INT32_MIN, INT32_MAX, integer);
      out.lVal = static_cast<LONG>(integer);
      break;
    case VT_I2:
      h = StoreInteger(n, INT16_MIN, INT16_MAX, integer);
      out.iVal = static_cast<SHORT>(integer);
      break;
    case VT_UI1:
      h = StoreInteger(n, 0, UINT8_MAX, integer);
      out.bVal = static_cast<BYTE>(integer);
      break;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  if (FAILED(h)) return h;
  out.vt = to;
  return S_OK;
}

HRESULT StoreString(const std::u16string& text, VARIANT& out) {
  out.bstrVal = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
  if (!out.bstrVal) return E_OUTOFMEMORY;
  out.vt = VT_BSTR;
  return S_OK;
}

// ---- Converters: (source, target type, result) ----
using Converter = HRESULT (*)(const VARIANT&, VARTYPE, VARIANT&);

HRESULT ToEmpty(const VARIANT&, VARTYPE, VARIANT& out) {
  out.vt = VT_EMPTY;
  return S_OK;
}

HRESULT Same(const VARIANT& from, VARTYPE to, VARIANT& out) {
  if (from.vt != to) return DISP_E_TYPEMISMATCH;  // arrays keep their element type
  return runtime::CopyVariantValue(out, from);
}

HRESULT NumberToNumber(const VARIANT& from, VARTYPE to, VARIANT& out) {
  return StoreNumber(NumberOf(from), to, out);
}

HRESULT EmptyToString(const VARIANT&, VARTYPE, VARIANT& out) { return StoreString(u"", out); }

HRESULT NumberToString(const VARIANT& from, VARTYPE, VARIANT& out) {
  switch (from.vt) {
    case VT_BOOL:
      return StoreString(from.boolVal ? u"True" : u"False", out);
    case VT_R4:
      return StoreString(runtime::FormatReal(from.fltVal, 7), out);
    case VT_R8:
      return StoreString(runtime::FormatReal(from.dblVal, 15), out);
    default:
      return StoreString(runtime::FormatInteger(NumberOf(from).integer), out);
  }
}

HRESULT StringToNumber(const VARIANT& from, VARTYPE to, VARIANT& out) {
  const std::u16string_view text(from.bstrVal ? from.bstrVal : u"", SysStringLen(from.bstrVal));
  if (to == VT_BOOL) {
    const std::u16string_view word = runtime::TrimBlanks(text);
    const bool isTrue = runtime::EqualsIgnoringCase(word, u"True");
    if (isTrue || runtime::EqualsIgnoringCase(word, u"False")) {
      out.boolVal = isTrue ? VARIANT_TRUE : VARIANT_FALSE;
      out.vt = VT_BOOL;
      return S_OK;
    }
  }
  double value = 0;
  switch (runtime::ParseReal(text, value)) {
    case ParseStatus::kNotANumber:
      return DISP_E_TYPEMISMATCH;
    case ParseStatus::kOverflow:
      return DISP_E_OVERFLOW;
    case ParseStatus::kOk:
      break;
  }
  return StoreNumber({true, 0, value}, to, out);
}

// VT_UNKNOWN <-> VT_DISPATCH: the object must answer for the other interface.
HRESULT QueryInterfaceTo(const VARIANT& from, VARTYPE to, VARIANT& out) {
  void* result = nullptr;
  if (from.punkVal) {
    const IID& iid = to == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
    if (FAILED(from.punkVal->QueryInterface(iid, &result)) || !result) return DISP_E_TYPEMISMATCH;
  }
  out.punkVal = static_cast<IUnknown*>(result);
  out.vt = to;
  return S_OK;
}

// clang-format off
constexpr Converter E = ToEmpty, S = Same, N = NumberToNumber, ES = EmptyToString,
                    NS = NumberToString, SN = StringToNumber, Q = QueryInterfaceTo,
                    _ = nullptr;

// Rows: source kind; columns: target kind. An empty cell is a type mismatch.
constexpr Converter kConverters[kKindCount][kKindCount] = {
    //              EMPTY NULL I2  I4  R4  R8  BSTR DISP ERROR BOOL UNK UI1 ARRAY
    /* EMPTY    */ {E,    _,   N,  N,  N,  N,  ES,  _,   _,    N,   _,  N,  _},
    /* NULL     */ {E,    S,   _,  _,  _,  _,  _,   _,   _,    _,   _,  _,  _},
    /* I2       */ {E,    _,   N,  N,  N,  N,  NS,  _,   _,    N,   _,  N,  _},
    /* I4       */ {E,    _,   N,  N,  N,  N,  NS,  _,   _,    N,   _,  N,  _},
    /* R4       */ {E,    _,   N,  N,  N,  N,  NS,  _,   _,    N,   _,  N,  _},
    /* R8       */ {E,    _,   N,  N,  N,  N,  NS,  _,   _,    N,   _,  N,  _},
    /* BSTR     */ {E,    _,   SN, SN, SN, SN, S,   _,   _,    SN,  _,  SN, _},
    /* DISPATCH */ {E,    _,   _,  _,  _,  _,  _,   S,   _,    _,   Q,  _,  _},
    /* ERROR    */ {E,    _,   _,  _,  _,  _,  _,   _,   S,    _,   _,  _,  _},
    /* BOOL     */ {E,    _,   N,  N,  N,  N,  NS,  _,   _,    N,   _,  N,  _},
    /* UNKNOWN  */ {E,    _,   _,  _,  _,  _,  _,   Q,   _,    _,   S,  _,  _},
    /* UI1      */ {E,    _,   N,  N,  N,  N,  NS,  _,   _,    N,   _,  N,  _},
    /* ARRAY    */ {E,    _,   _,  _,  _,  _,  _,   _,   _,    _,   _,  _,  S},
};
// clang-format on

// The value a by-reference variant points at, as a non-owning by-value view.
HRESULT Dereference(const VARIANT& source, VARIANT& view) {
  std::memcpy(&view, &source, sizeof(VARIANT));
  if (!(source.vt & VT_BYREF)) return S_OK;
  if (!source.byref) return E_INVALIDARG;
  const VARTYPE target = source.vt & ~VT_BYREF;
  if (target == VT_VARIANT) {
    std::memcpy(&view, source.pvarVal, sizeof(VARIANT));
    return runtime::IsKnownVariantType(view.vt) && !(view.vt & VT_BYREF) ? S_OK : DISP_E_BADVARTYPE;
  }
  VariantInit(&view);
  view.vt = target;
  std::memcpy(&view.lVal, source.byref,
              runtime::IsArrayType(target) ? sizeof(SAFEARRAY*) : runtime::ValueSize(target));
  return S_OK;
}

}  // namespace

extern "C" {

HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, USHORT /*wFlags*/,
                          VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  if (!runtime::IsKnownVariantType(pvarSrc->vt)) return DISP_E_BADVARTYPE;
  const int to = (vt & VT_BYREF) ? -1 : KindOf(vt);
  if (to < 0) return DISP_E_BADVARTYPE;
  VARIANT source;
  HRESULT h = Dereference(*pvarSrc, source);
  if (FAILED(h)) return h;
  const Converter convert = kConverters[KindOf(source.vt)][to];
  if (!convert) return DISP_E_TYPEMISMATCH;
  VARIANT result;
  VariantInit(&result);
  h = convert(source, vt, result);
  if (FAILED(h)) return h;
  h = VariantClear(pvargDest);
  if (FAILED(h)) {
    VariantClear(&result);
    return h;
  }
  *pvargDest = result;
  return S_OK;
}

}  // extern "C"

}  // namespace kavi
