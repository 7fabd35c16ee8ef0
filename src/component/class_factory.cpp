#include "component/class_factory.h"

#include <memory>
#include <mutex>

#include "component/server_lock.h"

namespace kavi::component {

HRESULT ClassFactory::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!(riid == IID_IUnknown || riid == IID_IClassFactory)) return E_NOINTERFACE;
  *ppv = static_cast<IClassFactory*>(this);
  return S_OK;
}

HRESULT ClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) noexcept {
  return entry_.create(pUnkOuter, riid, ppv);
}

HRESULT ClassFactory::LockServer(std::int32_t fLock) noexcept {
  if (fLock)
    LockModule();
  else
    UnlockModule();
  return S_OK;
}

ClassFactory* FactoryFor(REFCLSID clsid) {
  static std::mutex mutex;
  static std::unique_ptr<ClassFactory> factories[4];
  const auto& table = ClassTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!(*table[i].clsid == clsid)) continue;
    std::lock_guard<std::mutex> lock(mutex);
    if (!factories[i]) factories[i] = std::make_unique<ClassFactory>(table[i]);
    return factories[i].get();
  }
  return nullptr;
}

}  // namespace kavi::component
