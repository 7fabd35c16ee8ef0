// Activation of the server's classes by ProgID, as any host does it. A ProgID
// that is not registered yet (or registered to a library that is gone) makes
// the tool register the library it was built or installed with and go on.
#pragma once

#include <kavi/abi.h>

#include <string>

#include "com_ptr.h"
#include "tool_edition.h"

namespace kavi::tool {

// Creates "<prefix>.<className>" and asks it for iid; throws CallFailure.
void ActivateByProgId(const ToolEdition& edition, const char* className, const IID& iid,
                      void** object);

// The versioned ProgID registered for the class "<prefix>.<className>", the
// source of the error information its objects leave; the plain ProgID when
// the registry does not say.
std::string RegisteredProgId(const ToolEdition& edition, const char* className);

template <class I>
ComPtr<I> Activate(const ToolEdition& edition, const char* className, const IID& iid) {
  ComPtr<I> object;
  ActivateByProgId(edition, className, iid, object.putVoid());
  return object;
}

}  // namespace kavi::tool
