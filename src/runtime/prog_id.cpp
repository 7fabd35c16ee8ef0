// ProgID <-> class identifier through the registry.
#include <kavi/runtime.h>

#include <cstring>
#include <new>

#include "registry_file.h"

namespace kavi {

namespace {

const std::string* DefaultValueOf(const runtime::RegistryTree& tree, const std::string& path) {
  const runtime::RegistryKey* key = tree.Find(path);
  return key ? key->Find("") : nullptr;
}

// The class identifier a ProgID names, or false. The version-independent
// ProgID names its current version in CurVer; that one's CLSID counts first.
bool ClassOfProgId(const runtime::RegistryTree& tree, const std::string& progId, CLSID& clsid) {
  if (const std::string* current = DefaultValueOf(tree, progId + "\\CurVer");
      current && runtime::IsValidKeyPath(*current) && current->find('\\') == std::string::npos) {
    if (const std::string* text = DefaultValueOf(tree, *current + "\\CLSID");
        text && GuidFromString(*text, clsid))
      return true;
  }
  const std::string* text = DefaultValueOf(tree, progId + "\\CLSID");
  return text && GuidFromString(*text, clsid);
}

}  // namespace

extern "C" {

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
  if (!lplpszProgID) return E_INVALIDARG;
  *lplpszProgID = nullptr;
  try {
    runtime::RegistryTree tree;
    const HRESULT h = runtime::ReadRegistry(tree);
    if (FAILED(h)) return h;
    const std::string* progId = DefaultValueOf(tree, "CLSID\\" + GuidToString(clsid) + "\\ProgID");
    if (!progId || progId->empty()) return REGDB_E_CLASSNOTREG;
    const std::u16string text = NarrowToUtf16(*progId);
    const std::size_t bytes = (text.size() + 1) * sizeof(OLECHAR);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, text.c_str(), bytes);
    *lplpszProgID = copy;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID* lpclsid) {
  if (!lpszProgID || !lpclsid) return E_INVALIDARG;
  try {
    std::size_t length = 0;
    while (lpszProgID[length] != 0) ++length;
    const std::string progId = Utf16ToNarrow(lpszProgID, length);
    // A ProgID is one key name: a backslash would reach into other keys.
    if (!runtime::IsValidKeyPath(progId) || progId.find('\\') != std::string::npos)
      return CO_E_CLASSSTRING;
    runtime::RegistryTree tree;
    const HRESULT h = runtime::ReadRegistry(tree);
    if (FAILED(h)) return h;
    CLSID clsid{};
    if (!ClassOfProgId(tree, progId, clsid)) return CO_E_CLASSSTRING;
    *lpclsid = clsid;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // extern "C"

}  // namespace kavi
