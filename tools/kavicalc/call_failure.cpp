#include "call_failure.h"

#include <kavi/runtime.h>

#include "com_ptr.h"
#include "result_text.h"

namespace kavi::tool {

namespace {
bool SupportsErrorInfo(IUnknown* object, const IID& iid) {
  if (!object) return true;
  ComPtr<ISupportErrorInfo> support;
  if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) || !support)
    return false;
  return support->InterfaceSupportsErrorInfo(iid) == S_OK;
}
}  // namespace

void Check(HRESULT h, IUnknown* object, const IID& iid) {
  if (SUCCEEDED(h)) return;
  const bool supported = SupportsErrorInfo(object, iid);
  // Taken in every case, so that no stale information is left for a later failure.
  ComPtr<IErrorInfo> info;
  const bool present = GetErrorInfo(0, info.put()) == S_OK && info;
  std::string source;
  std::string description;
  if (present && supported) {
    Bstr sourceText;
    Bstr descriptionText;
    if (SUCCEEDED(info->GetSource(sourceText.put()))) source = sourceText.Narrow();
    if (SUCCEEDED(info->GetDescription(descriptionText.put())))
      description = descriptionText.Narrow();
  }
  if (description.empty()) description = ResultText(h);
  throw CallFailure(h, source, description);
}

void Fail(HRESULT code, const std::string& description) {
  throw CallFailure(code, "", description);
}

}  // namespace kavi::tool
