// The server library the tool was built or installed with, and its
// self-registration entry points.
#pragma once

#include <string>

#include "tool_edition.h"

namespace kavi::tool {

// The library of the edition: beside the executable (../<libdir>, ../lib,
// ../lib/<multiarch>), else in the install folder, else in the build folder.
// Fails with CO_E_DLLNOTFOUND naming the folders searched.
std::string LocateServerLibrary(const ToolEdition& edition);

// Calls DllRegisterServer / DllUnregisterServer of the library at path.
void RegisterServerLibrary(const std::string& path);
void UnregisterServerLibrary(const std::string& path);

}  // namespace kavi::tool
