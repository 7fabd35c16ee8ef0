// register and unregister: DllRegisterServer / DllUnregisterServer of the
// edition's server library.
#include <kavi/runtime.h>

#include <cstdio>
#include <string>

#include "call_failure.h"
#include "command.h"
#include "server_library.h"

namespace kavi::tool {

namespace {
constexpr const char* kRegisterHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] register

Registers the server library this tool was built or installed with (its
classes, ProgIDs and type library) by calling its DllRegisterServer. The
registry is the file named by KAVI_REGISTRY, else the per-user default. The
other commands do this by themselves on first use.

Options:
  --help            this help

Examples:
  kavicalc register
  KAVI_REGISTRY=$HOME/test.registry kavicalc --edition kavibase register
)";

constexpr const char* kUnregisterHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] unregister

Removes the registration of the edition's classes, ProgIDs and type library by
calling DllUnregisterServer of the server library.

Options:
  --help            this help

Example:
  kavicalc unregister
)";

std::string RegistryFile() {
  char path[4096];
  const std::size_t length = RegFilePath(path, sizeof path);
  return length < sizeof path ? std::string(path, length) : std::string("the registry");
}

int RunRegister(const ToolEdition& edition, const ParsedOptions&) {
  const std::string library = LocateServerLibrary(edition);
  RegisterServerLibrary(library);
  std::printf("Registered %s %s (%s) in %s\n", edition.name, edition.version, library.c_str(),
              RegistryFile().c_str());
  return 0;
}

// DllUnregisterServer answers S_OK whatever it could remove, so the tool looks
// for itself: none of the edition's classes may still be registered.
void CheckUnregistered(const ToolEdition& edition) {
  const Identities& ids = *edition.ids;
  for (const CLSID& clsid :
       {ids.RoughnessRoseGenerator, ids.AtlasGenerator, ids.AtlasUser, ids.RIXCalculator}) {
    const std::string key = "CLSID\\" + GuidToString(clsid);
    if (RegKeyExists(key.c_str()) != S_FALSE)
      Fail(REGDB_E_WRITEREGDB, "the registration could not be removed from " + RegistryFile() +
                                   ": " + key + " is still registered");
  }
}

int RunUnregister(const ToolEdition& edition, const ParsedOptions&) {
  const std::string library = LocateServerLibrary(edition);
  UnregisterServerLibrary(library);
  CheckUnregistered(edition);
  std::printf("Unregistered %s %s (%s) from %s\n", edition.name, edition.version, library.c_str(),
              RegistryFile().c_str());
  return 0;
}
}  // namespace

Command RegisterCommand() {
  return {
      "register", "register the server library in the registry", kRegisterHelp, {}, RunRegister};
}

Command UnregisterCommand() {
  return {
      "unregister", "remove the server library's registration", kUnregisterHelp, {}, RunUnregister};
}

}  // namespace kavi::tool
