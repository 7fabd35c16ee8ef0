// Plain-language texts of the result codes that reach the tool without a
// description of their own.
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi::tool {

std::string ResultText(HRESULT code);

}  // namespace kavi::tool
