// A reference-counted object for runtime tests: answers IUnknown, and IDispatch
// unless told not to, and lets a test read its reference count.
#pragma once

#include <kavi/abi.h>

#include <atomic>

namespace kavi::testing {

class CountedObject final : public IDispatch {
 public:
  explicit CountedObject(bool answersDispatch = true) : answersDispatch_(answersDispatch) {}

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || (answersDispatch_ && riid == IID_IDispatch)) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }  // lives on the test's stack
  HRESULT GetTypeInfoCount(std::uint32_t*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(std::uint32_t, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, std::uint32_t, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                 std::uint32_t*) override {
    return E_NOTIMPL;
  }

  // References held by others than its creator.
  ULONG ExtraReferences() const { return references_ - 1; }

 private:
  bool answersDispatch_;
  std::atomic<ULONG> references_{1};
};

}  // namespace kavi::testing
