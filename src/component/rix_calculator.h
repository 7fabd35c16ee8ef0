// RIXCalculator: holds a map file name; the ruggedness index itself is not
// provided by this engine.
#pragma once

#include <kavi/interfaces.h>

#include "component/automation_string.h"
#include "component/component_object.h"
#include "component/dispatch_table.h"

namespace kavi::component {

class RIXCalculator final : public ComponentObject<RIXCalculator, IKaviRIXCalculator> {
 public:
  using ComponentObject::ComponentObject;
  static const CLSID& Clsid();
  static const IID& Iid();
  static const DispatchTable& Table();
  HRESULT Initialise() noexcept { return S_OK; }

  HRESULT get_Configuration(IKaviConfiguration** pVal) noexcept override;
  HRESULT get_MapFile(BSTR* pVal) noexcept override { return mapFile_.Get(pVal); }
  HRESULT put_MapFile(BSTR newVal) noexcept override { return mapFile_.Put(newVal); }
  HRESULT RIX(double x, double y, double* pVal) noexcept override;

 private:
  StringProperty mapFile_;
};

}  // namespace kavi::component
