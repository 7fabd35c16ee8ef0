// One named configuration parameter. It holds no value of its own: its value
// is one element of the owning configuration's vector, and its reference
// count is the owning component object's.
#pragma once

#include <kavi/interfaces.h>

#include <string>

#include "component/dispatch_impl.h"
#include "component/dispatch_table.h"
#include "component/parameter_table.h"

namespace kavi::component {

class Parameter final : public DispatchImpl<Parameter, IKaviParameter>, public ISupportErrorInfo {
 public:
  Parameter(IUnknown* owner, const ParameterDefinition& definition, float* element);

  const std::u16string& id() const { return id_; }
  static const DispatchTable& Table();

  // IUnknown (counts forwarded to the owner)
  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override;
  ULONG AddRef() noexcept override { return owner_->AddRef(); }
  ULONG Release() noexcept override { return owner_->Release(); }

  // IKaviParameter
  HRESULT get_ID(BSTR* pVal) noexcept override;
  HRESULT get_Value(VARIANT* pVal) noexcept override;
  HRESULT put_Value(VARIANT newVal) noexcept override;
  HRESULT get_DefaultValue(VARIANT* pVal) noexcept override;
  HRESULT get_SupportURL(BSTR* pVal) noexcept override;
  HRESULT get_ValidRange(SAFEARRAY** pVal) noexcept override;
  HRESULT IsValueValid(VARIANT_BOOL* pVal) noexcept override;

  // ISupportErrorInfo
  HRESULT InterfaceSupportsErrorInfo(REFIID riid) noexcept override;

 private:
  // A real of the parameter vector as a VARIANT of the parameter's type.
  HRESULT Typed(float value, VARIANT* out) const;

  IUnknown* owner_;
  std::u16string id_;
  VARTYPE type_;
  float* value_;
  float minimum_;
  float maximum_;
  float default_;
};

}  // namespace kavi::component
