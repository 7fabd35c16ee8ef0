#include "support/host.h"

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace kavi::test {

namespace {
// Each test process registers into a registry file of its own, so tests that
// run at the same time never see another one's registration half done.
void EnsurePrivateRegistry() {
  static const std::string path = [] {
    std::string p = "/tmp/kavi-test-registry-" + std::to_string(getpid());
    setenv("KAVI_REGISTRY", p.c_str(), 1);
    std::atexit(
        [] { std::remove(("/tmp/kavi-test-registry-" + std::to_string(getpid())).c_str()); });
    return p;
  }();
}

Server LoadServer(const char* path, const Identities* ids) {
  EnsurePrivateRegistry();
  Server s{path, ids, dlopen(path, RTLD_NOW | RTLD_LOCAL), nullptr, nullptr, nullptr, nullptr};
  if (!s.handle) throw std::runtime_error(dlerror());
  s.getClassObject =
      reinterpret_cast<decltype(s.getClassObject)>(dlsym(s.handle, "DllGetClassObject"));
  s.canUnloadNow = reinterpret_cast<decltype(s.canUnloadNow)>(dlsym(s.handle, "DllCanUnloadNow"));
  s.registerServer =
      reinterpret_cast<decltype(s.registerServer)>(dlsym(s.handle, "DllRegisterServer"));
  s.unregisterServer =
      reinterpret_cast<decltype(s.unregisterServer)>(dlsym(s.handle, "DllUnregisterServer"));
  if (s.registerServer() != S_OK) throw std::runtime_error("registration failed");
  return s;
}
}  // namespace

const Server& Kavicalc() {
  static const Server server = LoadServer(KAVI_KAVICALC_LIBRARY, &kKavicalcIdentities);
  return server;
}

const Server& Kavibase() {
  static const Server server = LoadServer(KAVI_KAVIBASE_LIBRARY, &kKavibaseIdentities);
  return server;
}

ErrorDetails TakeErrorInfo() {
  ErrorDetails details;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return details;
  details.present = true;
  Bstr source, description;
  info->GetSource(source.put());
  info->GetDescription(description.put());
  info->GetGUID(&details.guid);
  details.source = source.narrow();
  details.description = description.narrow();
  info->Release();
  return details;
}

VARIANT MakeVariantR8(double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

VARIANT MakeVariantBool(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT MakeVariantString(const char* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  const std::u16string t = NarrowToUtf16(text);
  v.bstrVal = SysAllocStringLen(t.data(), static_cast<std::uint32_t>(t.size()));
  return v;
}

}  // namespace kavi::test
