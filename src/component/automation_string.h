// Helpers for the automation strings that cross the interface.
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi::component {

// A new BSTR holding text; throws ComError{E_OUTOFMEMORY} when it cannot be made.
BSTR MakeBstr(const std::u16string& text);
// The text of a BSTR up to its length (empty for a null BSTR).
std::u16string BstrText(BSTR value);

// A string property: no value, or the text that was put (up to its first NUL).
// The narrow form (the platform's code page) is made once and cached until the
// next put.
class StringProperty {
 public:
  HRESULT Get(BSTR* out) const;
  HRESULT Put(BSTR value) noexcept;
  bool HasValue() const { return hasValue_; }
  const std::string& Narrow() const;

 private:
  bool hasValue_ = false;
  std::u16string text_;
  mutable bool narrowCached_ = false;
  mutable std::string narrow_;
};

}  // namespace kavi::component
