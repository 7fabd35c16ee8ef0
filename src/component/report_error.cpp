#include "component/report_error.h"

#include <kavi/runtime.h>

namespace kavi::component {

HRESULT ReportError(const CLSID* clsid, const std::u16string& description, const IID* iid,
                    HRESULT code) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create)) && create) {
    create->SetGUID(iid ? *iid : GUID_NULL);
    if (clsid) {
      LPOLESTR progId = nullptr;
      if (SUCCEEDED(ProgIDFromCLSID(*clsid, &progId)) && progId) {
        create->SetSource(progId);
        CoTaskMemFree(progId);
      }
    }
    std::u16string text = description;
    create->SetDescription(text.data());
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return code != 0 ? code : DISP_E_EXCEPTION;
}

HRESULT ReportError(const CLSID* clsid, const std::string& description, const IID* iid,
                    HRESULT code) {
  return ReportError(clsid, NarrowToUtf16(description), iid, code);
}

}  // namespace kavi::component
