// Error-information objects and the current one of each thread.
#include <kavi/runtime.h>

#include <atomic>
#include <mutex>
#include <new>
#include <string>

#include "thread_error.h"

namespace kavi {

namespace {

class ErrorInfo final : public IErrorInfo, public ICreateErrorInfo {
 public:
  // IUnknown (one implementation serves both interfaces)
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
      *ppv = static_cast<IErrorInfo*>(this);
    } else if (riid == IID_ICreateErrorInfo) {
      *ppv = static_cast<ICreateErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return references_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG Release() override {
    const ULONG left = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

  // IErrorInfo
  HRESULT GetGUID(GUID* pGUID) override {
    if (!pGUID) return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    *pGUID = guid_;
    return S_OK;
  }
  HRESULT GetSource(BSTR* pBstrSource) override { return Get(source_, pBstrSource); }
  HRESULT GetDescription(BSTR* pBstrDescription) override {
    return Get(description_, pBstrDescription);
  }
  HRESULT GetHelpFile(BSTR* pBstrHelpFile) override { return Get(helpFile_, pBstrHelpFile); }
  HRESULT GetHelpContext(DWORD* pdwHelpContext) override {
    if (!pdwHelpContext) return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    *pdwHelpContext = helpContext_;
    return S_OK;
  }

  // ICreateErrorInfo
  HRESULT SetGUID(REFGUID rguid) override {
    std::lock_guard lock(mutex_);
    guid_ = rguid;
    return S_OK;
  }
  HRESULT SetSource(LPOLESTR szSource) override { return Set(source_, szSource); }
  HRESULT SetDescription(LPOLESTR szDescription) override {
    return Set(description_, szDescription);
  }
  HRESULT SetHelpFile(LPOLESTR szHelpFile) override { return Set(helpFile_, szHelpFile); }
  HRESULT SetHelpContext(DWORD dwHelpContext) override {
    std::lock_guard lock(mutex_);
    helpContext_ = dwHelpContext;
    return S_OK;
  }

 private:
  // A text that was never set (or set to null) reads back as a null string.
  struct Text {
    bool set = false;
    std::u16string value;
  };

  HRESULT Get(const Text& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    *out = nullptr;
    if (!text.set) return S_OK;
    *out = SysAllocStringLen(text.value.data(), static_cast<std::uint32_t>(text.value.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT Set(Text& text, LPCOLESTR value) {
    try {
      std::u16string copy = value ? std::u16string(value) : std::u16string();
      std::lock_guard lock(mutex_);
      text.set = value != nullptr;
      text.value = std::move(copy);
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  std::atomic<ULONG> references_{1};
  std::mutex mutex_;
  GUID guid_ = GUID_NULL;
  Text source_, description_, helpFile_;
  DWORD helpContext_ = 0;
};

// The thread's current error information; released when the thread ends.
struct CurrentErrorInfo {
  IErrorInfo* info = nullptr;
  ~CurrentErrorInfo() {
    if (info) info->Release();
  }
};
thread_local CurrentErrorInfo current;

}  // namespace

namespace runtime {

void SetThreadError(const std::string& description) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  try {
    std::u16string text = NarrowToUtf16(description);
    create->SetDescription(text.data());
  } catch (const std::bad_alloc&) {
    // Still report the failure, without its text.
  }
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
}

}  // namespace runtime

extern "C" {

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  auto* info = new (std::nothrow) ErrorInfo();
  *pperrinfo = info;
  return info ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(DWORD /*dwReserved*/, IErrorInfo* perrinfo) {
  if (perrinfo) perrinfo->AddRef();
  IErrorInfo* previous = current.info;
  current.info = perrinfo;
  if (previous) previous->Release();
  return S_OK;
}

HRESULT GetErrorInfo(DWORD /*dwReserved*/, IErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  *pperrinfo = current.info;  // the thread's reference passes to the caller
  current.info = nullptr;
  return *pperrinfo ? S_OK : S_FALSE;
}

}  // extern "C"

}  // namespace kavi
