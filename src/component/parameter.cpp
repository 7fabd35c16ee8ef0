#include "component/parameter.h"

#include <kavi/dispids.h>
#include <kavi/runtime.h>

#include "component/automation_string.h"
#include "component/dispatch_member.h"
#include "component/guard.h"
#include "model/edition.h"

namespace kavi::component {

namespace {
const IID& ParameterIid() { return model::CurrentEdition().ids->IKaviParameter; }
}  // namespace

Parameter::Parameter(IUnknown* owner, const ParameterDefinition& d, float* element)
    : owner_(owner),
      id_(d.id),
      type_(d.type),
      value_(element),
      minimum_(d.minimum),
      maximum_(d.maximum),
      default_(d.defaultValue) {}

const DispatchTable& Parameter::Table() {
  using I = IKaviParameter;
  static const DispatchTable table({
      Get<I, &I::get_ID>(u"ID", dispid::Parameter_ID),
      Get<I, &I::get_Value>(u"Value", dispid::Parameter_Value),
      Put<I, &I::put_Value>(u"Value", dispid::Parameter_Value),
      Get<I, &I::get_DefaultValue>(u"DefaultValue", dispid::Parameter_DefaultValue),
      Get<I, &I::get_SupportURL>(u"SupportURL", dispid::Parameter_SupportURL),
      Get<I, &I::get_ValidRange>(u"ValidRange", dispid::Parameter_ValidRange),
      Method<I, &I::IsValueValid, true>(u"IsValueValid", dispid::Parameter_IsValueValid),
  });
  return table;
}

HRESULT Parameter::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == ParameterIid())
    *ppv = static_cast<IKaviParameter*>(this);
  else if (riid == IID_ISupportErrorInfo)
    *ppv = static_cast<ISupportErrorInfo*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

HRESULT Parameter::InterfaceSupportsErrorInfo(REFIID riid) noexcept {
  return riid == ParameterIid() ? S_OK : S_FALSE;
}

HRESULT Parameter::Typed(float value, VARIANT* out) const {
  VARIANT real;
  VariantInit(&real);
  real.vt = VT_R4;
  real.fltVal = value;
  VariantInit(out);
  return VariantChangeType(out, &real, 0, type_);
}

HRESULT Parameter::get_ID(BSTR* pVal) noexcept {
  if (!pVal) return E_POINTER;
  return Guard([&] {
    *pVal = MakeBstr(id_);
    return S_OK;
  });
}

HRESULT Parameter::get_Value(VARIANT* pVal) noexcept {
  if (!pVal) return E_POINTER;
  return Typed(*value_, pVal);
}

HRESULT Parameter::put_Value(VARIANT newVal) noexcept {
  VARIANT real;
  VariantInit(&real);
  const HRESULT h = VariantChangeType(&real, &newVal, 0, VT_R4);
  if (FAILED(h)) return h;
  const float v = real.fltVal;
  if (!(v >= minimum_ && v <= maximum_))  // a NaN is out of range too
    return ReportError(nullptr, std::string("Parameter value out of range"), nullptr, 0);
  *value_ = v;
  return S_OK;
}

HRESULT Parameter::get_DefaultValue(VARIANT* pVal) noexcept {
  if (!pVal) return E_POINTER;
  return Typed(default_, pVal);
}

HRESULT Parameter::get_SupportURL(BSTR* pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = nullptr;
  return E_NOTIMPL;
}

HRESULT Parameter::get_ValidRange(SAFEARRAY** pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = nullptr;
  SAFEARRAY* range = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  if (!range) return E_OUTOFMEMORY;
  const float bounds[2] = {minimum_, maximum_};
  for (LONG i = 0; i < 2; ++i) {
    VARIANT bound;
    HRESULT h = Typed(bounds[i], &bound);
    if (SUCCEEDED(h)) h = SafeArrayPutElement(range, &i, &bound);
    VariantClear(&bound);
    if (FAILED(h)) {
      SafeArrayDestroy(range);
      return h;
    }
  }
  *pVal = range;
  return S_OK;
}

HRESULT Parameter::IsValueValid(VARIANT_BOOL* pVal) noexcept {
  if (!pVal) return E_POINTER;
  *pVal = VARIANT_TRUE;
  return S_OK;
}

}  // namespace kavi::component
