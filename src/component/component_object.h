// Identity, reference counting and aggregation shared by the four component
// classes. Derived supplies Table(), Clsid() and Iid(); I is its class
// interface. An aggregated object delegates its IUnknown to the outer object
// and hands the outer object a separate, non-delegating IUnknown.
#pragma once

#include <kavi/abi.h>

#include "component/dispatch_impl.h"
#include "component/server_lock.h"

namespace kavi::component {

template <class Derived, class I>
class ComponentObject : public DispatchImpl<Derived, I>, public ISupportErrorInfo {
 public:
  explicit ComponentObject(IUnknown* outer) : outer_(outer), inner_(this) {}
  virtual ~ComponentObject() = default;
  ComponentObject(const ComponentObject&) = delete;
  ComponentObject& operator=(const ComponentObject&) = delete;

  // The unknown that counts references for the whole object.
  IUnknown* controlling() { return outer_ ? outer_ : &inner_; }
  IUnknown* nonDelegating() { return &inner_; }

  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override {
    return controlling()->QueryInterface(riid, ppv);
  }
  ULONG AddRef() noexcept override { return controlling()->AddRef(); }
  ULONG Release() noexcept override { return controlling()->Release(); }

  HRESULT InterfaceSupportsErrorInfo(REFIID riid) noexcept override {
    return riid == Derived::Iid() ? S_OK : S_FALSE;
  }

 private:
  // Answers for IUnknown, IDispatch, the class interface and
  // ISupportErrorInfo; nothing else (not even the configurable base).
  HRESULT InnerQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown)
      *ppv = &inner_;
    else if (riid == IID_IDispatch || riid == Derived::Iid())
      *ppv = static_cast<I*>(this);
    else if (riid == IID_ISupportErrorInfo)
      *ppv = static_cast<ISupportErrorInfo*>(this);
    else
      return E_NOINTERFACE;
    static_cast<IUnknown*>(*ppv)->AddRef();
    return S_OK;
  }

  struct NonDelegatingUnknown final : IUnknown {
    explicit NonDelegatingUnknown(ComponentObject* o) : object(o) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override {
      return object->InnerQueryInterface(riid, ppv);
    }
    ULONG AddRef() noexcept override { return ++object->references_; }
    ULONG Release() noexcept override {
      const ULONG left = --object->references_;
      if (left == 0) delete object;
      return left;
    }
    ComponentObject* object;
  };

  ModuleLock moduleLock_;
  ULONG references_ = 0;
  IUnknown* outer_;
  NonDelegatingUnknown inner_;
};

}  // namespace kavi::component
