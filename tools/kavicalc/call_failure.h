// A failed call into the component interface, with what the error
// information of the thread said about it.
#pragma once

#include <kavi/abi.h>

#include <stdexcept>
#include <string>

namespace kavi::tool {

class CallFailure : public std::runtime_error {
 public:
  CallFailure(HRESULT code, std::string source, std::string description)
      : std::runtime_error(description),
        code_(code),
        source_(std::move(source)),
        description_(std::move(description)) {}

  HRESULT code() const { return code_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

 private:
  HRESULT code_;
  std::string source_;
  std::string description_;
};

// Returns when h succeeded. Otherwise takes the thread's error information
// (used only when object says its interface iid supports it; a null object
// means a runtime call, whose information is always used) and throws.
void Check(HRESULT h, IUnknown* object, const IID& iid);

// Throws a failure of the tool itself, which has no error source.
[[noreturn]] void Fail(HRESULT code, const std::string& description);

}  // namespace kavi::tool
