// Every interface method runs its body through Guard, the one place where a
// C++ exception becomes an HRESULT and error information. Nothing crosses the
// binary interface as an exception.
#pragma once

#include <kavi/abi.h>

#include <new>

#include "component/report_error.h"
#include "model/exceptions.h"

namespace kavi::component {

// A failure of the automation string support, carrying only its HRESULT.
struct ComError {
  HRESULT code;
};

// Whom a failure is reported for: the class (its ProgID becomes the error
// source) and the interface identity that the error information carries.
struct ErrorTarget {
  const CLSID* clsid = nullptr;
  const IID* iid = nullptr;
};

template <class Body>
HRESULT Guard(const ErrorTarget& target, Body&& body) noexcept {
  try {
    return body();
  } catch (const model::Exception& e) {
    return ReportError(target.clsid, e.description(), target.iid, e.code());
  } catch (const ComError& e) {
    return e.code;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// For methods that report no error information of their own.
template <class Body>
HRESULT Guard(Body&& body) noexcept {
  return Guard(ErrorTarget{}, static_cast<Body&&>(body));
}

}  // namespace kavi::component
