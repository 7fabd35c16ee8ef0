// A command line the tool cannot run: reported in one line with a hint where
// to find help, exit status 2.
#pragma once

#include <stdexcept>
#include <string>

namespace kavi::tool {

class UsageError : public std::runtime_error {
 public:
  // command: the command whose help the hint points at; empty for the tool's.
  UsageError(const std::string& message, std::string command)
      : std::runtime_error(message), command_(std::move(command)) {}
  const std::string& command() const { return command_; }

 private:
  std::string command_;
};

}  // namespace kavi::tool
