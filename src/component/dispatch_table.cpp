#include "component/dispatch_table.h"

#include <kavi/runtime.h>

namespace kavi::component {

namespace {
constexpr HRESULT DISP_E_NONAMEDARGS = hr(0x80020007);

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameNameIgnoringCase(const char16_t* a, const char16_t* b) {
  for (; *a && *b; ++a, ++b)
    if (Upper(*a) != Upper(*b)) return false;
  return *a == *b;
}

// Clears the converted arguments on every exit.
struct ArgumentList {
  VARIANT values[kMaxDispatchArgs];
  int count = 0;
  ~ArgumentList() {
    for (int i = 0; i < count; ++i) VariantClear(&values[i]);
  }
};

void FillException(EXCEPINFO* exception, HRESULT code) {
  *exception = EXCEPINFO{};
  exception->scode = code;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    info->GetSource(&exception->bstrSource);
    info->GetDescription(&exception->bstrDescription);
    info->Release();
  }
}
}  // namespace

HRESULT DispatchTable::GetIDsOfNames(LPOLESTR* names, std::uint32_t count, DISPID* ids) const {
  if (!names || !ids) return E_POINTER;
  if (count == 0) return S_OK;
  HRESULT result = S_OK;
  ids[0] = DISPID_UNKNOWN;
  if (names[0]) {
    for (const DispatchMember& m : members_) {
      if (SameNameIgnoringCase(m.name, names[0])) {
        ids[0] = m.id;
        break;
      }
    }
  }
  if (ids[0] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  // Arguments are positional only; named arguments are not known by name.
  for (std::uint32_t i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

const DispatchMember* DispatchTable::Find(DISPID id, WORD flags) const {
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  for (const DispatchMember& m : members_) {
    if (m.id != id) continue;
    if (put ? m.kind == DISPATCH_PROPERTYPUT
            : (m.kind != DISPATCH_PROPERTYPUT &&
               (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0))
      return &m;
  }
  return nullptr;
}

HRESULT DispatchTable::Invoke(void* self, DISPID id, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception,
                              std::uint32_t* argError) const {
  const DispatchMember* member = Find(id, flags);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (params->cArgs > 0 && !params->rgvarg) return E_POINTER;
  if (member->kind == DISPATCH_PROPERTYPUT) {
    if (params->cNamedArgs > 1 ||
        (params->cNamedArgs == 1 &&
         (!params->rgdispidNamedArgs || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
      return DISP_E_PARAMNOTFOUND;
  } else if (params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  }
  if (params->cArgs != static_cast<std::uint32_t>(member->argCount)) return DISP_E_BADPARAMCOUNT;

  // Arguments arrive last first; convert each to the declared type.
  ArgumentList args;
  for (int i = 0; i < member->argCount; ++i) {
    const std::uint32_t position = params->cArgs - 1 - static_cast<std::uint32_t>(i);
    const VARIANT* source = &params->rgvarg[position];
    if (source->vt == (VT_BYREF | VT_VARIANT) && source->pvarVal) source = source->pvarVal;
    VARIANT& target = args.values[i];
    VariantInit(&target);
    args.count = i + 1;
    const HRESULT h = member->argTypes[i] == VT_VARIANT
                          ? VariantCopy(&target, source)
                          : VariantChangeType(&target, source, 0, member->argTypes[i]);
    if (FAILED(h)) {
      if (argError) *argError = position;
      return h;
    }
  }

  VARIANT value;
  VariantInit(&value);
  const HRESULT h = member->call(self, args.values, &value);
  if (FAILED(h)) {
    if (!exception) return h;
    FillException(exception, h);
    return DISP_E_EXCEPTION;
  }
  if (result) {
    *result = value;  // the caller's variant is taken as uninitialised
  } else {
    VariantClear(&value);
  }
  return h;
}

}  // namespace kavi::component
