#include "component/automation_string.h"

#include <kavi/runtime.h>

#include "component/guard.h"

namespace kavi::component {

BSTR MakeBstr(const std::u16string& text) {
  BSTR b = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
  if (!b) throw ComError{E_OUTOFMEMORY};
  return b;
}

std::u16string BstrText(BSTR value) {
  if (!value) return {};
  return std::u16string(value, SysStringLen(value));
}

HRESULT StringProperty::Get(BSTR* out) const {
  if (!out) return E_POINTER;
  return Guard([&] {
    *out = hasValue_ ? MakeBstr(text_) : nullptr;
    return S_OK;
  });
}

HRESULT StringProperty::Put(BSTR value) noexcept {
  return Guard([&] {
    std::u16string text;
    if (value) text.assign(value, std::char_traits<char16_t>::length(value));  // up to a NUL
    text_ = std::move(text);
    hasValue_ = value != nullptr;
    narrowCached_ = false;
    narrow_.clear();
    return S_OK;
  });
}

const std::string& StringProperty::Narrow() const {
  if (!narrowCached_) {
    narrow_ = Utf16ToNarrow(text_.data(), text_.size());
    narrowCached_ = true;
  }
  return narrow_;
}

}  // namespace kavi::component
