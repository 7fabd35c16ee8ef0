// The one path from a failure to the host's error information.
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi::component {

// Sets the thread's error information (GUID = iid or the null GUID; source =
// the ProgID registered for clsid, if any; the description) and returns code,
// or DISP_E_EXCEPTION when code is 0.
HRESULT ReportError(const CLSID* clsid, const std::u16string& description, const IID* iid,
                    HRESULT code);
HRESULT ReportError(const CLSID* clsid, const std::string& description, const IID* iid,
                    HRESULT code);

}  // namespace kavi::component
