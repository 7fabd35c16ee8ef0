#include "option_parser.h"

#include "usage_error.h"

namespace kavi::tool {

namespace {
const OptionSpec* FindSpec(std::span<const OptionSpec> specs, const std::string& name) {
  for (const OptionSpec& spec : specs)
    if (name == spec.name) return &spec;
  return nullptr;
}

bool LooksLikeOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }
}  // namespace

const std::string* ParsedOptions::Find(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->second.front();
}

const std::string& ParsedOptions::Required(const std::string& name, const char* valueName) const {
  const std::string* value = Find(name);
  if (!value) throw UsageError("missing required option " + name + " " + valueName, command_);
  return *value;
}

std::vector<std::string> ParsedOptions::All(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::vector<std::string>() : found->second;
}

ParsedOptions ParseOptions(std::span<const std::string> args, std::span<const OptionSpec> specs,
                           const std::string& command) {
  ParsedOptions parsed(command);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      if (LooksLikeOption(arg)) throw UsageError("unknown option '" + arg + "'", command);
      throw UsageError("unexpected argument '" + arg + "'", command);
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* spec = FindSpec(specs, name);
    if (!spec) throw UsageError("unknown option '" + name + "'", command);
    if (!spec->repeatable && parsed.Has(name))
      throw UsageError("option " + name + " given more than once", command);
    if (!spec->valueName) {
      if (equals != std::string::npos)
        throw UsageError("option " + name + " takes no value", command);
      parsed.Add(name, "");
      continue;
    }
    if (equals != std::string::npos) {
      parsed.Add(name, arg.substr(equals + 1));
      continue;
    }
    // A following word that is itself an option means the value was left out;
    // "-5,3" style negative numbers are values.
    if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0)
      throw UsageError("option " + name + " needs a value " + spec->valueName, command);
    parsed.Add(name, args[++i]);
  }
  return parsed;
}

}  // namespace kavi::tool
