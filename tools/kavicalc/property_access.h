// Putting a file name into a string property of a component object.
#pragma once

#include <kavi/abi.h>

#include <string>

#include "call_failure.h"
#include "com_ptr.h"

namespace kavi::tool {

template <class I>
void PutText(I* object, HRESULT (I::*put)(BSTR), const std::string& text, const IID& iid) {
  Bstr value(text);
  Check((object->*put)(value.get()), object, iid);
}

// Puts the text only when the option was given.
template <class I>
void PutOptionalText(I* object, HRESULT (I::*put)(BSTR), const std::string* text, const IID& iid) {
  if (text) PutText(object, put, *text, iid);
}

}  // namespace kavi::tool
