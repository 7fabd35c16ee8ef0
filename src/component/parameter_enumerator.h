// IEnumVARIANT over the parameters of a configuration. It counts its own
// references, keeps its component object alive and counts as a live object of
// the server.
#pragma once

#include <kavi/abi.h>

#include <atomic>
#include <cstddef>

#include "component/configuration.h"
#include "component/server_lock.h"

namespace kavi::component {

class ParameterEnumerator final : public IEnumVARIANT {
 public:
  ParameterEnumerator(const Configuration& collection, std::size_t position);
  ~ParameterEnumerator();
  ParameterEnumerator(const ParameterEnumerator&) = delete;
  ParameterEnumerator& operator=(const ParameterEnumerator&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override;
  ULONG AddRef() noexcept override;
  ULONG Release() noexcept override;

  HRESULT Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched) noexcept override;
  HRESULT Skip(ULONG celt) noexcept override;
  HRESULT Reset() noexcept override;
  HRESULT Clone(IEnumVARIANT** ppEnum) noexcept override;

 private:
  ModuleLock moduleLock_;
  std::atomic<ULONG> references_{1};
  const Configuration* collection_;
  std::size_t position_;
};

}  // namespace kavi::component
