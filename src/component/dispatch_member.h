// Builds DispatchMember entries from member function pointers, so that every
// table row states only a name, a DISPID and the method it calls.
#pragma once

#include <kavi/abi.h>
#include <kavi/runtime.h>

#include <tuple>
#include <type_traits>
#include <utility>

#include "component/dispatch_table.h"

namespace kavi::component {

// How a C++ argument or result type travels in a VARIANT.
template <class T, class = void>
struct VariantOf;

template <>
struct VariantOf<double> {
  static constexpr VARTYPE vt = VT_R8;
  static double Get(VARIANT& v) { return v.dblVal; }
  static void Set(VARIANT& v, double x) { v.vt = VT_R8, v.dblVal = x; }
};
template <>
struct VariantOf<LONG> {
  static constexpr VARTYPE vt = VT_I4;
  static LONG Get(VARIANT& v) { return v.lVal; }
  static void Set(VARIANT& v, LONG x) { v.vt = VT_I4, v.lVal = x; }
};
template <>
struct VariantOf<VARIANT_BOOL> {
  static constexpr VARTYPE vt = VT_BOOL;
  static VARIANT_BOOL Get(VARIANT& v) { return v.boolVal; }
  static void Set(VARIANT& v, VARIANT_BOOL x) { v.vt = VT_BOOL, v.boolVal = x; }
};
template <>
struct VariantOf<BSTR> {
  static constexpr VARTYPE vt = VT_BSTR;
  static BSTR Get(VARIANT& v) { return v.bstrVal; }  // borrowed for the call
  static void Set(VARIANT& v, BSTR x) { v.vt = VT_BSTR, v.bstrVal = x; }
};
template <>
struct VariantOf<VARIANT> {
  static constexpr VARTYPE vt = VT_VARIANT;  // passed on as it is
  static VARIANT Get(VARIANT& v) { return v; }
  static void Set(VARIANT& v, VARIANT x) { v = x; }
};
template <>
struct VariantOf<SAFEARRAY*> {
  static constexpr VARTYPE vt = VT_ARRAY | VT_VARIANT;
  static void Set(VARIANT& v, SAFEARRAY* x) { v.vt = VT_ARRAY | VT_VARIANT, v.parray = x; }
};
template <>
struct VariantOf<IUnknown*> {
  static constexpr VARTYPE vt = VT_UNKNOWN;
  static void Set(VARIANT& v, IUnknown* x) { v.vt = VT_UNKNOWN, v.punkVal = x; }
};
template <class I>
struct VariantOf<I*, std::enable_if_t<std::is_base_of_v<IDispatch, I>>> {
  static constexpr VARTYPE vt = VT_DISPATCH;
  static void Set(VARIANT& v, I* x) { v.vt = VT_DISPATCH, v.pdispVal = x; }
};

template <class M>
struct MethodTraits;
template <class C, class... A>
struct MethodTraits<HRESULT (C::*)(A...)> {
  using Args = std::tuple<A...>;
  static constexpr std::size_t count = sizeof...(A);
};

// Calls method M of interface I; the last parameter is the result when HasResult.
template <class I, auto M, bool HasResult>
HRESULT CallMember(void* self, VARIANT* args, VARIANT* result) {
  using Traits = MethodTraits<decltype(M)>;
  constexpr std::size_t inputs = Traits::count - (HasResult ? 1 : 0);
  I* object = static_cast<I*>(self);
  return [&]<std::size_t... N>(std::index_sequence<N...>)->HRESULT {
    if constexpr (HasResult) {
      using Out = std::remove_pointer_t<std::tuple_element_t<inputs, typename Traits::Args>>;
      Out out{};
      HRESULT h = (object->*M)(
          VariantOf<std::tuple_element_t<N, typename Traits::Args>>::Get(args[N])..., &out);
      if (SUCCEEDED(h)) VariantOf<Out>::Set(*result, out);
      return h;
    } else {
      (void)result;
      return (object->*M)(
          VariantOf<std::tuple_element_t<N, typename Traits::Args>>::Get(args[N])...);
    }
  }
  (std::make_index_sequence<inputs>{});
}

template <class I, auto M, bool HasResult>
DispatchMember Member(const char16_t* name, DISPID id, WORD kind) {
  using Traits = MethodTraits<decltype(M)>;
  constexpr std::size_t inputs = Traits::count - (HasResult ? 1 : 0);
  static_assert(inputs <= kMaxDispatchArgs);
  DispatchMember m{name, id, kind, static_cast<int>(inputs), {}, &CallMember<I, M, HasResult>};
  [&]<std::size_t... N>(std::index_sequence<N...>) {
    ((m.argTypes[N] = VariantOf<std::tuple_element_t<N, typename Traits::Args>>::vt), ...);
  }
  (std::make_index_sequence<inputs>{});
  return m;
}

// Table rows: a property get, a property put and a method with or without result.
template <class I, auto M>
DispatchMember Get(const char16_t* name, DISPID id) {
  return Member<I, M, true>(name, id, DISPATCH_PROPERTYGET);
}
template <class I, auto M>
DispatchMember Put(const char16_t* name, DISPID id) {
  return Member<I, M, false>(name, id, DISPATCH_PROPERTYPUT);
}
template <class I, auto M, bool HasResult>
DispatchMember Method(const char16_t* name, DISPID id) {
  return Member<I, M, HasResult>(name, id, DISPATCH_METHOD);
}

}  // namespace kavi::component
