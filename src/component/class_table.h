// The four component classes of the server: identity, names and how to
// create an instance.
#pragma once

#include <kavi/abi.h>

#include <array>

namespace kavi::component {

struct ClassEntry {
  const CLSID* clsid;
  const char* name;         // "AtlasUser"
  const char* description;  // "AtlasUser Class"
  HRESULT (*create)(IUnknown* outer, REFIID riid, void** ppv);
};

const std::array<ClassEntry, 4>& ClassTable();
const ClassEntry* FindClass(REFCLSID clsid);

}  // namespace kavi::component
