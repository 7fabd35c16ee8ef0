// IDispatch for a dual interface I of class Derived, served from the static
// member table Derived::Table().
#pragma once

#include <kavi/abi.h>

namespace kavi::component {

template <class Derived, class I>
class DispatchImpl : public I {
 public:
  HRESULT GetTypeInfoCount(std::uint32_t* count) noexcept override {
    if (!count) return E_POINTER;
    *count = 0;  // members are described by the compiled-in table only
    return S_OK;
  }
  HRESULT GetTypeInfo(std::uint32_t, LCID, ITypeInfo** info) noexcept override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, std::uint32_t count, LCID,
                        DISPID* ids) noexcept override {
    if (!(riid == GUID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    try {
      return Derived::Table().GetIDsOfNames(names, count, ids);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, std::uint32_t* argError) noexcept override {
    if (!(riid == GUID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    try {
      return Derived::Table().Invoke(static_cast<I*>(this), id, flags, params, result, exception,
                                     argError);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
};

}  // namespace kavi::component
