// The four entry points of the in-process server.
#include <kavi/abi.h>

#include "component/class_factory.h"
#include "component/registration.h"
#include "component/server_lock.h"

using namespace kavi;

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid,
                                                                 void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  component::ClassFactory* factory = nullptr;
  try {
    factory = component::FactoryFor(rclsid);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(riid, ppv);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return component::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  try {
    return component::RegisterServer();
  } catch (...) {
    return E_UNEXPECTED;
  }
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  try {
    component::UnregisterServer();
  } catch (...) {
  }
  return S_OK;
}

}  // extern "C"
