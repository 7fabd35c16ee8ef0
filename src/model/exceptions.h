// The failures of the model and component layers. Each carries the message
// (description), the step that failed (context) and the failure code that the
// host receives.
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi::model {

constexpr HRESULT kRuntimeErrorCode = hr(0x800403E8);
constexpr HRESULT kLogicErrorCode = hr(0x800407D0);
constexpr HRESULT kFortranExceptionCode = hr(0x800403EB);

class Exception {
 public:
  virtual ~Exception() = default;
  const std::u16string& description() const { return description_; }
  const std::u16string& context() const { return context_; }
  HRESULT code() const { return code_; }

 protected:
  Exception(const std::string& context, const std::string& message, HRESULT code);

 private:
  std::u16string description_;
  std::u16string context_;
  HRESULT code_;
};

class RuntimeError : public Exception {
 public:
  RuntimeError(const std::string& context, const std::string& message)
      : Exception(context, message, kRuntimeErrorCode) {}

 protected:
  RuntimeError(const std::string& context, const std::string& message, HRESULT code)
      : Exception(context, message, code) {}
};

class LogicError : public Exception {
 public:
  LogicError(const std::string& context, const std::string& message)
      : Exception(context, message, kLogicErrorCode) {}
};

class FortranException : public RuntimeError {
 public:
  FortranException(const std::string& context, const std::string& message)
      : RuntimeError(context, message, kFortranExceptionCode) {}
};

}  // namespace kavi::model
