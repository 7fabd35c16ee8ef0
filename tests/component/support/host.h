// What a test host needs: an owning interface pointer, automation strings,
// registration of the server library into a private registry and activation
// by ProgID, as any host would do it.
#pragma once

#include <kavi/abi.h>
#include <kavi/identities.h>
#include <kavi/interfaces.h>
#include <kavi/runtime.h>

#include <string>
#include <utility>

namespace kavi::test {

template <class I>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(I* p) : p_(p) {}  // takes over a reference
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  I* get() const { return p_; }
  I* operator->() const { return p_; }
  I** put() {
    Reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  explicit operator bool() const { return p_ != nullptr; }
  I* detach() { return std::exchange(p_, nullptr); }

 private:
  I* p_ = nullptr;
};

// An owned BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const std::u16string& text)
      : b_(SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()))) {}
  explicit Bstr(const char* text) : Bstr(NarrowToUtf16(text)) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }
  BSTR get() const { return b_; }
  BSTR* put() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::string narrow() const { return b_ ? Utf16ToNarrow(b_, SysStringLen(b_)) : std::string(); }

 private:
  BSTR b_ = nullptr;
};

// The host's view of the thread's error information after a failure.
struct ErrorDetails {
  bool present = false;
  std::string source;
  std::string description;
  GUID guid = GUID_NULL;
};
ErrorDetails TakeErrorInfo();

// The server library of an edition, loaded once and registered into the
// private registry file of the test process.
struct Server {
  const char* path;
  const Identities* ids;
  void* handle;
  HRESULT (*getClassObject)(REFCLSID, REFIID, void**);
  HRESULT (*canUnloadNow)();
  HRESULT (*registerServer)();
  HRESULT (*unregisterServer)();
};
const Server& Kavicalc();
const Server& Kavibase();

// Activation by ProgID through the registry.
template <class I>
ComPtr<I> Create(const char* progId, const IID& iid) {
  CLSID clsid{};
  ComPtr<I> object;
  if (SUCCEEDED(CLSIDFromProgID(NarrowToUtf16(progId).c_str(), &clsid)))
    CoCreateInstance(clsid, nullptr, iid, object.putVoid());
  return object;
}

VARIANT MakeVariantR8(double value);
VARIANT MakeVariantBool(bool value);
VARIANT MakeVariantString(const char* text);

}  // namespace kavi::test
