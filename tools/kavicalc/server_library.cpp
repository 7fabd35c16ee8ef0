#include "server_library.h"

#include <dlfcn.h>
#include <kavi/abi.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <vector>

#include "call_failure.h"

namespace kavi::tool {

namespace {
std::string ExecutableFolder() {
  char resolved[PATH_MAX];
  if (!realpath("/proc/self/exe", resolved)) return {};
  std::string path = resolved;
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::vector<std::string> CandidateFolders() {
  std::vector<std::string> folders;
  const auto add = [&folders](const std::string& folder) {
    if (folder.empty()) return;
    for (const std::string& known : folders)
      if (known == folder) return;
    folders.push_back(folder);
  };
  if (const std::string bin = ExecutableFolder(); !bin.empty()) {
    const std::string relativeLibdir = KAVI_INSTALL_RELATIVE_LIBDIR;
    if (!relativeLibdir.empty() && relativeLibdir[0] != '/') add(bin + "/../" + relativeLibdir);
    add(bin + "/../lib");
    const std::string multiarch = KAVI_LIBRARY_ARCHITECTURE;
    if (!multiarch.empty()) add(bin + "/../lib/" + multiarch);
  }
  add(KAVI_INSTALL_LIBDIR);
  add(KAVI_BUILD_LIBDIR);
  return folders;
}

using EntryPoint = HRESULT (*)();

// Loads the library, runs one of its entry points and lets it go again.
HRESULT CallEntryPoint(const std::string& path, const char* name) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    Fail(CO_E_DLLNOTFOUND,
         "Cannot load the server library " + path + ": " + (reason ? reason : "unknown error"));
  }
  const auto entry = reinterpret_cast<EntryPoint>(dlsym(library, name));
  if (!entry) {
    dlclose(library);
    Fail(CO_E_ERRORINDLL, "The server library " + path + " has no entry point " + name);
  }
  const HRESULT h = entry();
  dlclose(library);
  return h;
}

// Runs the entry point; a failure names the library and what the runtime
// said about it.
void RunEntryPoint(const std::string& path, const char* name, const char* what) {
  const HRESULT h = CallEntryPoint(path, name);
  try {
    Check(h, nullptr, GUID_NULL);
  } catch (const CallFailure& failure) {
    Fail(h, what + path + ": " + failure.description());
  }
}
}  // namespace

std::string LocateServerLibrary(const ToolEdition& edition) {
  std::string searched;
  for (const std::string& folder : CandidateFolders()) {
    const std::string path = folder + "/" + edition.libraryFile;
    if (access(path.c_str(), R_OK) == 0) {
      char resolved[PATH_MAX];
      return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
    }
    searched += (searched.empty() ? "" : ", ") + folder;
  }
  Fail(CO_E_DLLNOTFOUND, std::string("Cannot find the server library ") + edition.libraryFile +
                             " (looked in " + searched + ")");
}

void RegisterServerLibrary(const std::string& path) {
  RunEntryPoint(path, "DllRegisterServer", "Cannot register ");
}

void UnregisterServerLibrary(const std::string& path) {
  RunEntryPoint(path, "DllUnregisterServer", "Cannot unregister ");
}

}  // namespace kavi::tool
