#include "activation.h"

#include <kavi/runtime.h>

#include <string>

#include "call_failure.h"
#include "server_library.h"

namespace kavi::tool {

namespace {
// Results that mean the registry does not lead to a loadable server.
bool ServerMissing(HRESULT h) {
  return h == REGDB_E_CLASSNOTREG || h == REGDB_E_KEYMISSING || h == CO_E_DLLNOTFOUND ||
         h == CO_E_ERRORINDLL;
}

void RegisterOwnLibrary(const ToolEdition& edition) {
  RegisterServerLibrary(LocateServerLibrary(edition));
}

// Clears what a failed attempt left on the thread before it is tried again.
void DropErrorInfo() {
  ComPtr<IErrorInfo> stale;
  GetErrorInfo(0, stale.put());
}
}  // namespace

void ActivateByProgId(const ToolEdition& edition, const char* className, const IID& iid,
                      void** object) {
  const std::string progId = std::string(edition.ids->progIdPrefix) + "." + className;
  const std::u16string progIdText = NarrowToUtf16(progId);
  bool registered = false;

  CLSID clsid{};
  HRESULT h = CLSIDFromProgID(progIdText.c_str(), &clsid);
  if (FAILED(h)) {
    DropErrorInfo();
    RegisterOwnLibrary(edition);
    registered = true;
    h = CLSIDFromProgID(progIdText.c_str(), &clsid);
    Check(h, nullptr, GUID_NULL);
  }

  h = CoCreateInstance(clsid, nullptr, iid, object);
  if (ServerMissing(h) && !registered) {
    DropErrorInfo();
    RegisterOwnLibrary(edition);
    h = CLSIDFromProgID(progIdText.c_str(), &clsid);
    Check(h, nullptr, GUID_NULL);
    h = CoCreateInstance(clsid, nullptr, iid, object);
  }
  try {
    Check(h, nullptr, GUID_NULL);
  } catch (const CallFailure& failure) {
    Fail(h, "Cannot create " + progId + ": " + failure.description());
  }
}

std::string RegisteredProgId(const ToolEdition& edition, const char* className) {
  const std::string progId = std::string(edition.ids->progIdPrefix) + "." + className;
  CLSID clsid{};
  LPOLESTR versioned = nullptr;
  if (FAILED(CLSIDFromProgID(NarrowToUtf16(progId).c_str(), &clsid)) ||
      FAILED(ProgIDFromCLSID(clsid, &versioned)) || !versioned)
    return progId;
  std::size_t length = 0;
  while (versioned[length] != 0) ++length;
  const std::string text = Utf16ToNarrow(versioned, length);
  CoTaskMemFree(versioned);
  return text;
}

}  // namespace kavi::tool
