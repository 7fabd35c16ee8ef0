// Late binding for the dual interfaces: a table of members (name, DISPID, kind
// and a typed caller) serves GetIDsOfNames and Invoke in place of a type
// library. Arguments are converted with VariantChangeType before the call.
#pragma once

#include <kavi/abi.h>

#include <array>
#include <vector>

namespace kavi::component {

constexpr int kMaxDispatchArgs = 4;

struct DispatchMember {
  const char16_t* name;
  DISPID id;
  WORD kind;  // DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT or DISPATCH_METHOD
  int argCount;
  std::array<VARTYPE, kMaxDispatchArgs> argTypes;
  // Calls the member on the interface pointer self with the converted
  // arguments in declaration order; stores a result in *result (VT_EMPTY when
  // the member has none).
  HRESULT (*call)(void* self, VARIANT* args, VARIANT* result);
};

class DispatchTable {
 public:
  explicit DispatchTable(std::vector<DispatchMember> members) : members_(std::move(members)) {}

  HRESULT GetIDsOfNames(LPOLESTR* names, std::uint32_t count, DISPID* ids) const;
  // self must be the interface pointer of the table's interface.
  HRESULT Invoke(void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, std::uint32_t* argError) const;

 private:
  const DispatchMember* Find(DISPID id, WORD flags) const;
  std::vector<DispatchMember> members_;
};

}  // namespace kavi::component
