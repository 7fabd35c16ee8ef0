#include "component/configuration.h"

#include <kavi/dispids.h>
#include <kavi/runtime.h>

#include <algorithm>

#include "component/automation_string.h"
#include "component/dispatch_member.h"
#include "component/guard.h"
#include "component/parameter_enumerator.h"
#include "model/edition.h"

namespace kavi::component {

namespace {
const IID& ConfigurationIid() { return model::CurrentEdition().ids->IKaviConfiguration; }
}  // namespace

const DispatchTable& Configuration::Table() {
  using I = IKaviConfiguration;
  static const DispatchTable table({
      Get<I, &I::get_EnumParameters>(u"EnumParameters", dispid::Configuration_EnumParameters),
      Get<I, &I::get_Item>(u"Item", dispid::Configuration_Item),
      Get<I, &I::get_Count>(u"Count", dispid::Configuration_Count),
      Method<I, &I::ReportConfigurationProblems, true>(
          u"ReportConfigurationProblems", dispid::Configuration_ReportConfigurationProblems),
  });
  return table;
}

HRESULT Configuration::Build() noexcept {
  return Guard([&] {
    const auto& fixed = FixedDefaultVector();
    std::copy(fixed.begin(), fixed.end(), vector_);
    for (const ParameterDefinition& d : ParameterDefinitions()) {
      float* element = &vector_[d.element - 1];
      parameters_.emplace(d.id, std::make_unique<Parameter>(owner_, d, element));
      *element = d.defaultValue;
    }
    ordered_.clear();
    for (auto& [id, parameter] : parameters_) ordered_.push_back(parameter.get());
    return S_OK;
  });
}

HRESULT Configuration::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == ConfigurationIid())
    *ppv = static_cast<IKaviConfiguration*>(this);
  else if (riid == IID_ISupportErrorInfo)
    *ppv = static_cast<ISupportErrorInfo*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

HRESULT Configuration::InterfaceSupportsErrorInfo(REFIID riid) noexcept {
  return riid == ConfigurationIid() ? S_OK : S_FALSE;
}

HRESULT Configuration::get_EnumParameters(IUnknown** pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = nullptr;
  return Guard([&] {
    *pVal = new ParameterEnumerator(*this, 0);
    return S_OK;
  });
}

HRESULT Configuration::get_Item(BSTR id, IKaviParameter** pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = nullptr;
  return Guard([&] {
    const auto found = parameters_.find(BstrText(id));
    if (found == parameters_.end())
      return ReportError(nullptr, std::string("Parameter ID not found."), nullptr, 0);
    return found->second->QueryInterface(model::CurrentEdition().ids->IKaviParameter,
                                         reinterpret_cast<void**>(pVal));
  });
}

HRESULT Configuration::get_Count(LONG* pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = static_cast<LONG>(parameters_.size());
  return S_OK;
}

HRESULT Configuration::ReportConfigurationProblems(BSTR* pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = nullptr;
  return E_NOTIMPL;
}

}  // namespace kavi::component
