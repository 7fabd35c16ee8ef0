// The class factory of one component class. Factories are made on first
// request and live as long as the server.
#pragma once

#include <kavi/abi.h>

#include "component/class_table.h"

namespace kavi::component {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}

  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override;
  ULONG AddRef() noexcept override { return 2; }  // lives as long as the server
  ULONG Release() noexcept override { return 1; }
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) noexcept override;
  HRESULT LockServer(std::int32_t fLock) noexcept override;

 private:
  const ClassEntry& entry_;
};

// The factory of a class, made on first request; nullptr for an unknown class.
ClassFactory* FactoryFor(REFCLSID clsid);

}  // namespace kavi::component
