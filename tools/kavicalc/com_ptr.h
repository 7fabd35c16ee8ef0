// Owning wrappers for what the tool receives through the component interface:
// interface pointers, automation strings and variants.
#pragma once

#include <kavi/abi.h>
#include <kavi/runtime.h>

#include <new>
#include <string>
#include <utility>

namespace kavi::tool {

// An interface pointer that holds one reference and releases it.
template <class I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  I* get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // The address to receive a new reference; any reference held is released first.
  I** put() {
    Reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }

 private:
  I* p_ = nullptr;
};

// An owned automation string.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const std::string& narrow) {
    const std::u16string wide = NarrowToUtf16(narrow);
    b_ = SysAllocStringLen(wide.data(), static_cast<std::uint32_t>(wide.size()));
    if (!b_) throw std::bad_alloc();
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }

  BSTR get() const { return b_; }
  BSTR* put() {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  std::string Narrow() const { return b_ ? Utf16ToNarrow(b_, SysStringLen(b_)) : std::string(); }

 private:
  BSTR b_ = nullptr;
};

// An owned variant, cleared when it goes.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }

  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }
  const VARIANT* operator->() const { return &v_; }

 private:
  VARIANT v_;
};

}  // namespace kavi::tool
