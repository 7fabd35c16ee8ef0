// VARIANT lifetime: initialisation, clearing (releasing what the variant owns)
// and deep copying.
#include <kavi/runtime.h>

#include <cstring>

#include "variant_types.h"
#include "variant_value.h"

namespace kavi {

namespace runtime {

HRESULT CopyVariantValue(VARIANT& target, const VARIANT& source) {
  std::memcpy(&target, &source, sizeof(VARIANT));
  if (source.vt & VT_BYREF) return S_OK;
  if (IsArrayType(source.vt)) {
    target.parray = nullptr;
    const HRESULT h = SafeArrayCopy(source.parray, &target.parray);
    if (FAILED(h)) VariantInit(&target);
    return h;
  }
  switch (source.vt) {
    case VT_BSTR:
      if (source.bstrVal) {
        target.bstrVal = SysAllocStringLen(source.bstrVal, SysStringLen(source.bstrVal));
        if (!target.bstrVal) {
          VariantInit(&target);
          return E_OUTOFMEMORY;
        }
      }
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (source.punkVal) source.punkVal->AddRef();
      break;
    default:
      break;
  }
  return S_OK;
}

}  // namespace runtime

extern "C" {

void VariantInit(VARIANT* pvarg) {
  if (pvarg) std::memset(pvarg, 0, sizeof(VARIANT));
}

HRESULT VariantClear(VARIANT* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  const VARTYPE vt = pvarg->vt;
  if (!runtime::IsKnownVariantType(vt)) return DISP_E_BADVARTYPE;
  if (runtime::IsArrayType(vt)) {
    const HRESULT h = SafeArrayDestroy(pvarg->parray);
    if (FAILED(h)) return h;
  } else if (vt == VT_BSTR) {
    SysFreeString(pvarg->bstrVal);
  } else if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && pvarg->punkVal) {
    pvarg->punkVal->Release();
  }
  VariantInit(pvarg);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  if (!runtime::IsKnownVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  // Copy first, so that a failed copy leaves the destination as it was.
  VARIANT copy;
  HRESULT h = runtime::CopyVariantValue(copy, *pvargSrc);
  if (FAILED(h)) return h;
  h = VariantClear(pvargDest);
  if (FAILED(h)) {
    VariantClear(&copy);
    return h;
  }
  *pvargDest = copy;
  return S_OK;
}

}  // extern "C"

}  // namespace kavi
