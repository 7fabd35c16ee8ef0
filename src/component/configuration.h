// The configuration of a calculating component object: the 77-element
// parameter vector and the 30 named parameters over it. It is part of its
// component object and forwards its reference counts to it.
#pragma once

#include <kavi/interfaces.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "component/dispatch_impl.h"
#include "component/dispatch_table.h"
#include "component/parameter.h"
#include "component/parameter_table.h"

namespace kavi::component {

class Configuration final : public DispatchImpl<Configuration, IKaviConfiguration>,
                            public ISupportErrorInfo {
 public:
  explicit Configuration(IUnknown* owner) : owner_(owner) {}
  Configuration(const Configuration&) = delete;
  Configuration& operator=(const Configuration&) = delete;

  // Fills the vector with the fixed defaults and creates the named parameters
  // (writing their defaults). Run once when the component object is created.
  HRESULT Build() noexcept;

  const float* vector() const { return vector_; }
  // The parameters in enumeration (map) order.
  const std::vector<Parameter*>& ordered() const { return ordered_; }
  IUnknown* owner() const { return owner_; }
  static const DispatchTable& Table();

  // IUnknown (counts forwarded to the owner)
  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override;
  ULONG AddRef() noexcept override { return owner_->AddRef(); }
  ULONG Release() noexcept override { return owner_->Release(); }

  // IKaviConfiguration
  HRESULT get_EnumParameters(IUnknown** pVal) noexcept override;
  HRESULT get_Item(BSTR id, IKaviParameter** pVal) noexcept override;
  HRESULT get_Count(LONG* pVal) noexcept override;
  HRESULT ReportConfigurationProblems(BSTR* pVal) noexcept override;

  // ISupportErrorInfo
  HRESULT InterfaceSupportsErrorInfo(REFIID riid) noexcept override;

 private:
  IUnknown* owner_;
  // Ordered by the IDs' UTF-16 code units, a prefix first.
  std::map<std::u16string, std::unique_ptr<Parameter>> parameters_;
  std::vector<Parameter*> ordered_;
  float vector_[kVectorSize] = {};
};

}  // namespace kavi::component
