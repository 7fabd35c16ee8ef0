#include "component/parameter_enumerator.h"

#include <kavi/runtime.h>

#include "component/guard.h"

namespace kavi::component {

ParameterEnumerator::ParameterEnumerator(const Configuration& collection, std::size_t position)
    : collection_(&collection), position_(position) {
  collection_->owner()->AddRef();
}

ParameterEnumerator::~ParameterEnumerator() { collection_->owner()->Release(); }

HRESULT ParameterEnumerator::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!(riid == IID_IUnknown || riid == IID_IEnumVARIANT)) return E_NOINTERFACE;
  *ppv = static_cast<IEnumVARIANT*>(this);
  AddRef();
  return S_OK;
}

ULONG ParameterEnumerator::AddRef() noexcept { return ++references_; }

ULONG ParameterEnumerator::Release() noexcept {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ParameterEnumerator::Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched) noexcept {
  if (!rgVar || (!pCeltFetched && celt != 1)) return E_POINTER;
  const auto& items = collection_->ordered();
  ULONG fetched = 0;
  while (fetched < celt && position_ < items.size()) {
    VARIANT& slot = rgVar[fetched];
    VariantInit(&slot);
    IDispatch* dispatch = nullptr;
    const HRESULT h =
        items[position_]->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(h)) {
      for (ULONG i = 0; i < fetched; ++i) VariantClear(&rgVar[i]);
      if (pCeltFetched) *pCeltFetched = 0;
      return h;
    }
    slot.vt = VT_DISPATCH;
    slot.pdispVal = dispatch;
    ++fetched;
    ++position_;
  }
  if (pCeltFetched) *pCeltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT ParameterEnumerator::Skip(ULONG celt) noexcept {
  const std::size_t size = collection_->ordered().size();
  if (celt > size - position_) {
    position_ = size;
    return S_FALSE;
  }
  position_ += celt;
  return S_OK;
}

HRESULT ParameterEnumerator::Reset() noexcept {
  if (!collection_) return E_FAIL;
  position_ = 0;
  return S_OK;
}

HRESULT ParameterEnumerator::Clone(IEnumVARIANT** ppEnum) noexcept {
  if (!ppEnum) return E_POINTER;
  *ppEnum = nullptr;
  return Guard([&] {
    *ppEnum = new ParameterEnumerator(*collection_, position_);
    return S_OK;
  });
}

}  // namespace kavi::component
