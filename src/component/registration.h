// Registry entries of the server: per class its ProgIDs and class key, and
// the type library with its interfaces.
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi::component {

// The full path of the loaded server library.
std::string ModulePath();

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace kavi::component
