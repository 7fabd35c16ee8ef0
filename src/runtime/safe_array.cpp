// One-dimensional safe arrays. The element type is kept in the four bytes
// just before the descriptor, where hosts expect it when FADF_HAVEVARTYPE is set.
#include <kavi/runtime.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "variant_types.h"
#include "variant_value.h"

namespace kavi {

namespace {

struct ArrayBlock {
  std::uint32_t reserved[3];
  std::uint32_t vartype;
  SAFEARRAY descriptor;
};
static_assert(offsetof(ArrayBlock, descriptor) == 16);

ArrayBlock* BlockOf(SAFEARRAY* psa) {
  return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(psa) -
                                       offsetof(ArrayBlock, descriptor));
}

VARTYPE VartypeOf(SAFEARRAY* psa) { return static_cast<VARTYPE>(BlockOf(psa)->vartype); }

USHORT FeaturesFor(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN:
      return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH:
      return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT:
      return FADF_HAVEVARTYPE | FADF_VARIANT;
    default:
      return FADF_HAVEVARTYPE;
  }
}

void* ElementAt(SAFEARRAY* psa, std::uint64_t offset) {
  return static_cast<char*>(psa->pvData) + offset * psa->cbElements;
}

// Releases what one element owns and zeroes it.
void ClearElement(VARTYPE vt, void* element) {
  switch (vt) {
    case VT_BSTR:
      SysFreeString(*static_cast<BSTR*>(element));
      *static_cast<BSTR*>(element) = nullptr;
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (auto* unknown = *static_cast<IUnknown**>(element)) unknown->Release();
      *static_cast<IUnknown**>(element) = nullptr;
      break;
    case VT_VARIANT:
      VariantClear(static_cast<VARIANT*>(element));
      break;
    default:
      break;
  }
}

// Deep-copies the element at source into the uninitialised storage at target.
HRESULT CopyElement(VARTYPE vt, const void* source, void* target) {
  switch (vt) {
    case VT_BSTR: {
      const BSTR text = *static_cast<const BSTR*>(source);
      BSTR copy = nullptr;
      if (text) {
        copy = SysAllocStringLen(text, SysStringLen(text));
        if (!copy) return E_OUTOFMEMORY;
      }
      *static_cast<BSTR*>(target) = copy;
      return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      IUnknown* unknown = *static_cast<IUnknown* const*>(source);
      if (unknown) unknown->AddRef();
      *static_cast<IUnknown**>(target) = unknown;
      return S_OK;
    }
    case VT_VARIANT: {
      VARIANT copy;
      const HRESULT h = runtime::CopyVariantValue(copy, *static_cast<const VARIANT*>(source));
      if (SUCCEEDED(h)) std::memcpy(target, &copy, sizeof(VARIANT));
      return h;
    }
    default:
      std::memcpy(target, source, runtime::ValueSize(vt));
      return S_OK;
  }
}

bool IsValidArray(SAFEARRAY* psa) { return psa && psa->cDims == 1; }

// Offset of the element at *rgIndices from the start of the data, or false.
bool OffsetOf(SAFEARRAY* psa, const LONG* rgIndices, std::uint64_t& offset) {
  const std::int64_t index = static_cast<std::int64_t>(*rgIndices) - psa->rgsabound[0].lLbound;
  if (index < 0 || index >= static_cast<std::int64_t>(psa->rgsabound[0].cElements)) return false;
  offset = static_cast<std::uint64_t>(index);
  return true;
}

}  // namespace

extern "C" {

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  if (runtime::ValueSize(vt) == 0) return nullptr;
  // The upper bound must itself be a LONG (lower bound - 1 for an empty array).
  const std::int64_t upper = static_cast<std::int64_t>(lLbound) + cElements - 1;
  if (upper > std::numeric_limits<LONG>::max() || upper < std::numeric_limits<LONG>::min())
    return nullptr;
  auto* block = static_cast<ArrayBlock*>(std::calloc(1, sizeof(ArrayBlock)));
  if (!block) return nullptr;
  SAFEARRAY* psa = &block->descriptor;
  const std::uint32_t size = runtime::ValueSize(vt);
  if (cElements > 0) {
    psa->pvData = std::calloc(cElements, size);
    if (!psa->pvData) {
      std::free(block);
      return nullptr;
    }
  }
  block->vartype = vt;
  psa->cDims = 1;
  psa->fFeatures = FeaturesFor(vt);
  psa->cbElements = size;
  psa->rgsabound[0].cElements = cElements;
  psa->rgsabound[0].lLbound = lLbound;
  return psa;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (!IsValidArray(psa)) return E_INVALIDARG;
  if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  const VARTYPE vt = VartypeOf(psa);
  for (std::uint64_t i = 0; i < psa->rgsabound[0].cElements; ++i)
    ClearElement(vt, ElementAt(psa, i));
  std::free(psa->pvData);
  std::free(BlockOf(psa));
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, std::uint32_t nDim, LONG* plLbound) {
  if (!IsValidArray(psa) || !plLbound) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plLbound = psa->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, std::uint32_t nDim, LONG* plUbound) {
  if (!IsValidArray(psa) || !plUbound) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plUbound = static_cast<LONG>(static_cast<std::int64_t>(psa->rgsabound[0].lLbound) +
                                psa->rgsabound[0].cElements - 1);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (!IsValidArray(psa) || !pvt) return E_INVALIDARG;
  *pvt = VartypeOf(psa);
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv) {
  if (!IsValidArray(psa) || !rgIndices || !pv) return E_INVALIDARG;
  std::uint64_t offset = 0;
  if (!OffsetOf(psa, rgIndices, offset)) return DISP_E_BADINDEX;
  return CopyElement(VartypeOf(psa), ElementAt(psa, offset), pv);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* pv) {
  if (!IsValidArray(psa) || !rgIndices) return E_INVALIDARG;
  const VARTYPE vt = VartypeOf(psa);
  // Strings and interfaces are passed as the pointer itself; a null one is a
  // valid (empty) value. Everything else is passed by address.
  const bool byValue = vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH;
  if (!byValue && !pv) return E_INVALIDARG;
  if (vt == VT_VARIANT && !runtime::IsKnownVariantType(static_cast<const VARIANT*>(pv)->vt))
    return DISP_E_BADVARTYPE;
  std::uint64_t offset = 0;
  if (!OffsetOf(psa, rgIndices, offset)) return DISP_E_BADINDEX;
  unsigned char copy[sizeof(VARIANT)];
  const HRESULT h = CopyElement(vt, byValue ? static_cast<const void*>(&pv) : pv, copy);
  if (FAILED(h)) return h;
  void* element = ElementAt(psa, offset);
  ClearElement(vt, element);
  std::memcpy(element, copy, psa->cbElements);
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  if (!IsValidArray(psa)) return E_INVALIDARG;
  const VARTYPE vt = VartypeOf(psa);
  SAFEARRAY* copy =
      SafeArrayCreateVector(vt, psa->rgsabound[0].lLbound, psa->rgsabound[0].cElements);
  if (!copy) return E_OUTOFMEMORY;
  for (std::uint64_t i = 0; i < psa->rgsabound[0].cElements; ++i) {
    const HRESULT h = CopyElement(vt, ElementAt(psa, i), ElementAt(copy, i));
    if (FAILED(h)) {
      SafeArrayDestroy(copy);
      return h;
    }
  }
  *ppsaOut = copy;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (!IsValidArray(psa) || !ppvData) return E_INVALIDARG;
  ++psa->cLocks;
  *ppvData = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
  if (!IsValidArray(psa)) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_UNEXPECTED;
  --psa->cLocks;
  return S_OK;
}

}  // extern "C"

}  // namespace kavi
