#include "component/registration.h"

#include <dlfcn.h>
#include <kavi/runtime.h>

#include <cstdio>
#include <vector>

#include "component/class_table.h"
#include "model/edition.h"

namespace kavi::component {

namespace {
struct Entry {
  std::string key;
  std::string name;  // empty: the default value
  std::string value;
};

std::string ClsidKey(const ClassEntry& c) { return "CLSID\\" + GuidToString(*c.clsid); }

std::string TypeLibraryVersion() {
  const model::Edition& e = model::CurrentEdition();
  char text[16];
  std::snprintf(text, sizeof text, "%x.%x", e.typeLibraryMajor, e.typeLibraryMinor);
  return text;
}

std::string Folder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The registry script of one class, with the module path filled in.
std::vector<Entry> ClassEntries(const ClassEntry& c, const std::string& module) {
  const std::string prefix = model::CurrentEdition().ids->progIdPrefix;
  const std::string independent = prefix + "." + c.name;
  const std::string versioned = independent + ".1";
  const std::string clsid = GuidToString(*c.clsid);
  const std::string key = ClsidKey(c);
  return {
      {versioned, "", c.description},
      {versioned + "\\CLSID", "", clsid},
      {independent, "", c.description},
      {independent + "\\CLSID", "", clsid},
      {independent + "\\CurVer", "", versioned},
      {key, "", c.description},
      {key + "\\ProgID", "", versioned},
      {key + "\\VersionIndependentProgID", "", independent},
      {key + "\\Programmable", "", ""},
      {key + "\\InprocServer32", "", module},
      {key + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {key + "\\TypeLib", "", GuidToString(model::CurrentEdition().ids->TypeLibrary)},
  };
}

struct InterfaceName {
  const IID* iid;
  const char* name;
};

std::vector<InterfaceName> Interfaces() {
  const Identities& ids = *model::CurrentEdition().ids;
  return {{&ids.IKaviConfigurable, "IKaviConfigurable"},
          {&ids.IKaviRoughnessRoseGenerator, "IKaviRoughnessRoseGenerator"},
          {&ids.IKaviAtlasGenerator, "IKaviAtlasGenerator"},
          {&ids.IKaviAtlasUser, "IKaviAtlasUser"},
          {&ids.IKaviRIXCalculator, "IKaviRIXCalculator"},
          {&ids.IKaviConfiguration, "IKaviConfiguration"},
          {&ids.IKaviParameter, "IKaviParameter"},
          {&ids.IKaviSiteResults, "IKaviSiteResults"},
          {&ids.IKaviSectorInfo, "IKaviSectorInfo"}};
}

// The type library entries: library name, location, flags and help folder,
// and each interface that the library describes.
std::vector<Entry> TypeLibraryEntries(const std::string& module) {
  const model::Edition& e = model::CurrentEdition();
  const std::string libid = GuidToString(e.ids->TypeLibrary);
  const std::string key = "TypeLib\\" + libid + "\\" + TypeLibraryVersion();
  std::vector<Entry> entries = {
      {key, "", e.name},
      {key + "\\409\\win32", "", module},
      {key + "\\FLAGS", "", "0"},
      {key + "\\HELPDIR", "", Folder(module)},
  };
  for (const InterfaceName& i : Interfaces()) {
    const std::string interfaceKey = "Interface\\" + GuidToString(*i.iid);
    entries.push_back({interfaceKey, "", i.name});
    entries.push_back({interfaceKey + "\\TypeLib", "", libid});
    entries.push_back({interfaceKey + "\\TypeLib", "Version", TypeLibraryVersion()});
  }
  return entries;
}

HRESULT Write(const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    const HRESULT h = RegSetValue(entry.key.c_str(), entry.name.c_str(), entry.value.c_str());
    if (FAILED(h)) return h;
  }
  return S_OK;
}
}  // namespace

std::string ModulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&RegisterServer), &info) && info.dli_fname) {
    char resolved[4096];
    if (realpath(info.dli_fname, resolved)) return resolved;
    return info.dli_fname;
  }
  return {};
}

HRESULT RegisterServer() {
  const std::string module = ModulePath();
  if (module.empty()) return E_UNEXPECTED;
  for (const ClassEntry& c : ClassTable()) {
    // The class key is removed and written again whole.
    HRESULT h = RegDeleteTree(ClsidKey(c).c_str());
    if (SUCCEEDED(h)) h = Write(ClassEntries(c, module));
    if (FAILED(h)) return h;
  }
  return Write(TypeLibraryEntries(module));
}

HRESULT UnregisterServer() {
  const std::string prefix = model::CurrentEdition().ids->progIdPrefix;
  for (const ClassEntry& c : ClassTable()) {
    const std::string independent = prefix + "." + c.name;
    RegDeleteTree((independent + ".1").c_str());
    RegDeleteTree(independent.c_str());
    RegDeleteTree(ClsidKey(c).c_str());
  }
  const std::string libid = GuidToString(model::CurrentEdition().ids->TypeLibrary);
  RegDeleteTree(("TypeLib\\" + libid).c_str());
  for (const InterfaceName& i : Interfaces())
    RegDeleteTree(("Interface\\" + GuidToString(*i.iid)).c_str());
  return S_OK;
}

}  // namespace kavi::component
