#include "component/class_table.h"

#include "component/atlas_generator.h"
#include "component/atlas_user.h"
#include "component/guard.h"
#include "component/rix_calculator.h"
#include "component/roughness_rose_generator.h"

namespace kavi::component {

namespace {
// Creates an object of class T; aggregation hands out only the inner IUnknown.
template <class T>
HRESULT CreateObject(IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer && !(riid == IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return Guard([&] {
    auto* object = new T(outer);
    HRESULT h = object->Initialise();
    if (FAILED(h)) {
      delete object;
      return h;
    }
    IUnknown* inner = object->nonDelegating();
    inner->AddRef();
    h = inner->QueryInterface(riid, ppv);
    inner->Release();  // destroys the object when the request failed
    return h;
  });
}
}  // namespace

const std::array<ClassEntry, 4>& ClassTable() {
  static const std::array<ClassEntry, 4> table = {{
      {&RoughnessRoseGenerator::Clsid(), "RoughnessRoseGenerator", "RoughnessRoseGenerator Class",
       &CreateObject<RoughnessRoseGenerator>},
      {&AtlasGenerator::Clsid(), "AtlasGenerator", "AtlasGenerator Class",
       &CreateObject<AtlasGenerator>},
      {&AtlasUser::Clsid(), "AtlasUser", "AtlasUser Class", &CreateObject<AtlasUser>},
      {&RIXCalculator::Clsid(), "RIXCalculator", "RIXCalculator Class",
       &CreateObject<RIXCalculator>},
  }};
  return table;
}

const ClassEntry* FindClass(REFCLSID clsid) {
  for (const ClassEntry& entry : ClassTable())
    if (*entry.clsid == clsid) return &entry;
  return nullptr;
}

}  // namespace kavi::component
