// The registry's C entry points (HKEY_CLASSES_ROOT only).
#include <kavi/runtime.h>

#include <cstring>
#include <new>

#include "registry_file.h"

namespace kavi {

namespace {

using runtime::RegistryKey;
using runtime::RegistryTree;

// Runs body, turning an allocation failure into E_OUTOFMEMORY: nothing may
// leave a C entry point as an exception.
template <typename Body>
HRESULT Guarded(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

// Applies a change; one that turns out to change nothing still succeeds.
template <typename Change>
HRESULT Update(Change change) {
  return Guarded([&] {
    const HRESULT h = runtime::UpdateRegistry(change);
    return h == S_FALSE ? S_OK : h;
  });
}

}  // namespace

extern "C" {

HRESULT RegSetValue(const char* keyPath, const char* valueName, const char* data) {
  if (!keyPath || !data || !runtime::IsValidKeyPath(keyPath)) return E_INVALIDARG;
  return Update([&](RegistryTree& tree) {
    bool created = false;
    RegistryKey& key = tree.Create(keyPath, created);
    const bool changed = key.Set(valueName ? valueName : "", data);
    return created || changed ? S_OK : S_FALSE;
  });
}

HRESULT RegGetValue(const char* keyPath, const char* valueName, char** data) {
  if (!data) return E_INVALIDARG;
  *data = nullptr;
  if (!keyPath || !runtime::IsValidKeyPath(keyPath)) return E_INVALIDARG;
  return Guarded([&] {
    RegistryTree tree;
    const HRESULT h = runtime::ReadRegistry(tree);
    if (FAILED(h)) return h;
    const RegistryKey* key = tree.Find(keyPath);
    const std::string* value = key ? key->Find(valueName ? valueName : "") : nullptr;
    if (!value) return REGDB_E_KEYMISSING;
    auto* copy = static_cast<char*>(CoTaskMemAlloc(value->size() + 1));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, value->c_str(), value->size() + 1);
    *data = copy;
    return S_OK;
  });
}

HRESULT RegCreateKey(const char* keyPath) {
  if (!keyPath || !runtime::IsValidKeyPath(keyPath)) return E_INVALIDARG;
  return Update([&](RegistryTree& tree) {
    bool created = false;
    tree.Create(keyPath, created);
    return created ? S_OK : S_FALSE;
  });
}

HRESULT RegKeyExists(const char* keyPath) {
  if (!keyPath || !runtime::IsValidKeyPath(keyPath)) return E_INVALIDARG;
  return Guarded([&] {
    RegistryTree tree;
    const HRESULT h = runtime::ReadRegistry(tree);
    if (FAILED(h)) return h;
    return tree.Find(keyPath) ? S_OK : S_FALSE;
  });
}

HRESULT RegDeleteTree(const char* keyPath) {
  if (!keyPath || !runtime::IsValidKeyPath(keyPath)) return E_INVALIDARG;
  // A key that is not there is already deleted: S_FALSE, and nothing is written.
  return Guarded([&] {
    return runtime::UpdateRegistry(
        [&](RegistryTree& tree) { return tree.DeleteTree(keyPath) ? S_OK : S_FALSE; });
  });
}

std::size_t RegFilePath(char* buf, std::size_t size) {
  try {
    const std::string path = runtime::RegistryFilePath();
    if (buf && size > 0) {
      const std::size_t n = path.size() < size ? path.size() : size - 1;
      std::memcpy(buf, path.data(), n);
      buf[n] = 0;
    }
    return path.size();
  } catch (const std::bad_alloc&) {
    if (buf && size > 0) buf[0] = 0;
    return 0;
  }
}

}  // extern "C"

}  // namespace kavi
