// Options of one command: "--name VALUE", "--name=VALUE" and flags.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

namespace kavi::tool {

struct OptionSpec {
  const char* name;       // with the dashes: "--map"
  const char* valueName;  // "FILE"; nullptr for a flag without a value
  bool repeatable;
};

class ParsedOptions {
 public:
  explicit ParsedOptions(std::string command) : command_(std::move(command)) {}

  const std::string& command() const { return command_; }
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // The value of an option given at most once; nullptr when absent.
  const std::string* Find(const std::string& name) const;
  // The value of an option that must be given; a usage error when absent.
  const std::string& Required(const std::string& name, const char* valueName) const;
  // Every value of a repeatable option, in command-line order.
  std::vector<std::string> All(const std::string& name) const;

  void Add(const std::string& name, std::string value) {
    values_[name].push_back(std::move(value));
  }

 private:
  std::string command_;
  std::map<std::string, std::vector<std::string>> values_;
};

// Parses the arguments after the command name. Unknown options, missing
// values, repeats of a single option and stray arguments are usage errors.
ParsedOptions ParseOptions(std::span<const std::string> args, std::span<const OptionSpec> specs,
                           const std::string& command);

}  // namespace kavi::tool
