#include "component/rix_calculator.h"

#include <kavi/dispids.h>

#include "component/dispatch_member.h"
#include "model/edition.h"

namespace kavi::component {

const CLSID& RIXCalculator::Clsid() { return model::CurrentEdition().ids->RIXCalculator; }
const IID& RIXCalculator::Iid() { return model::CurrentEdition().ids->IKaviRIXCalculator; }

const DispatchTable& RIXCalculator::Table() {
  using I = IKaviRIXCalculator;
  static const DispatchTable table({
      Get<I, &I::get_Configuration>(u"Configuration", dispid::Configuration),
      Get<I, &I::get_MapFile>(u"MapFile", dispid::RIX_MapFile),
      Put<I, &I::put_MapFile>(u"MapFile", dispid::RIX_MapFile),
      Method<I, &I::RIX, true>(u"RIX", dispid::RIX_RIX),
  });
  return table;
}

HRESULT RIXCalculator::get_Configuration(IKaviConfiguration** pVal) noexcept {
  return pVal ? E_NOTIMPL : E_POINTER;
}

HRESULT RIXCalculator::RIX(double, double, double* pVal) noexcept {
  return pVal ? E_NOTIMPL : E_POINTER;
}

}  // namespace kavi::component
