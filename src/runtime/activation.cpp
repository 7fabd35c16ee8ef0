// Activation: the registered InprocServer32 library of a class is loaded once
// per process and asked for the class object through DllGetClassObject.
#include <dlfcn.h>
#include <kavi/runtime.h>

#include <map>
#include <mutex>
#include <new>
#include <string>

#include "registry_file.h"
#include "thread_error.h"

namespace kavi {

namespace {

using GetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);

// Libraries stay loaded for the life of the process, as servers expect.
std::mutex libraryMutex;
std::map<std::string, void*> loadedLibraries;

HRESULT LoadServerLibrary(const std::string& path, const CLSID& clsid, void*& handle) {
  std::lock_guard lock(libraryMutex);
  if (const auto found = loadedLibraries.find(path); found != loadedLibraries.end()) {
    handle = found->second;
    return S_OK;
  }
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    runtime::SetThreadError("Cannot load the server library " + path + " of class " +
                            GuidToString(clsid) + ": " + (reason ? reason : "unknown error"));
    return CO_E_DLLNOTFOUND;
  }
  loadedLibraries.emplace(path, handle);
  return S_OK;
}

HRESULT ServerPathOf(const CLSID& clsid, std::string& path) {
  runtime::RegistryTree tree;
  const HRESULT h = runtime::ReadRegistry(tree);
  if (FAILED(h)) return h;
  const runtime::RegistryKey* key = tree.Find("CLSID\\" + GuidToString(clsid) + "\\InprocServer32");
  const std::string* value = key ? key->Find("") : nullptr;
  if (!value || value->empty()) {
    runtime::SetThreadError("Class " + GuidToString(clsid) + " is not registered in " +
                            runtime::RegistryFilePath());
    return REGDB_E_CLASSNOTREG;
  }
  path = *value;
  return S_OK;
}

}  // namespace

extern "C" {

HRESULT CoGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  try {
    std::string path;
    HRESULT h = ServerPathOf(rclsid, path);
    if (FAILED(h)) return h;
    void* library = nullptr;
    h = LoadServerLibrary(path, rclsid, library);
    if (FAILED(h)) return h;
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFunction>(dlsym(library, "DllGetClassObject"));
    if (!getClassObject) {
      runtime::SetThreadError("The server library " + path +
                              " has no entry point DllGetClassObject");
      return CO_E_ERRORINDLL;
    }
    return getClassObject(rclsid, riid, ppv);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, REFIID riid, void** ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT h = CoGetClassObject(rclsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(h)) return h;
  if (!factory) return E_UNEXPECTED;
  h = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  return h;
}

}  // extern "C"

}  // namespace kavi
