#include "result_text.h"

namespace kavi::tool {

namespace {
struct KnownResult {
  HRESULT code;
  const char* text;
};

constexpr KnownResult kKnownResults[] = {
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_FAIL, "Unspecified error"},
    {E_UNEXPECTED, "Unexpected failure"},
    {E_OUTOFMEMORY, "Not enough memory"},
    {E_INVALIDARG, "One or more arguments are invalid"},
    {E_ACCESSDENIED, "Access denied"},
    {DISP_E_MEMBERNOTFOUND, "Member not found"},
    {DISP_E_TYPEMISMATCH, "Type mismatch: the value cannot be converted to a number"},
    {DISP_E_UNKNOWNNAME, "Unknown name"},
    {DISP_E_EXCEPTION, "Exception occurred"},
    {DISP_E_OVERFLOW, "Value out of the range of its type"},
    {DISP_E_BADVARTYPE, "Bad variable type"},
    {DISP_E_BADINDEX, "Invalid index"},
    {CLASS_E_CLASSNOTAVAILABLE, "Class not available from this server"},
    {REGDB_E_CLASSNOTREG, "Class not registered"},
    {REGDB_E_READREGDB, "Could not read the registry"},
    {REGDB_E_WRITEREGDB, "Could not write the registry"},
    {REGDB_E_KEYMISSING, "Registry key missing"},
    {CO_E_CLASSSTRING, "Invalid class string (ProgID not registered)"},
    {CO_E_DLLNOTFOUND, "Server library not found"},
    {CO_E_ERRORINDLL, "Error in the server library"},
};
}  // namespace

std::string ResultText(HRESULT code) {
  for (const KnownResult& known : kKnownResults)
    if (known.code == code) return known.text;
  return "Failure without a description";
}

}  // namespace kavi::tool
