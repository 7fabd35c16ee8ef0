#include "output_checks.h"

#include <sys/stat.h>

#include <optional>

#include "call_failure.h"
#include "output/output_target.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {

// Where a file is, independent of how its name is written: its own device and
// inode, or for a file still to be made, its folder's and its name.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  std::string name;  // only for a file still to be made
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> ExistingIdentity(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino, {}};
}

std::string Described(const FileOption& file) { return file.option + " '" + file.path + "'"; }

[[noreturn]] void FailSame(const FileOption& output, const FileOption& other,
                           const std::string& command) {
  throw UsageError(Described(output) + " is the same file as " + Described(other) +
                       "; write the output to another file",
                   command);
}

}  // namespace

void CheckOutputs(const std::vector<FileOption>& inputs, const std::vector<FileOption>& outputs,
                  const std::string& command) {
  std::vector<std::pair<FileIdentity, const FileOption*>> written;
  for (const FileOption& output : outputs) {
    output::OutputTarget target;
    if (const std::string problem = output::ResolveOutput(output.path, target); !problem.empty())
      Fail(E_FAIL, "could not write " + output.path + ": " + problem);
    if (target.kind == output::OutputTarget::Kind::kInPlace) continue;
    std::optional<FileIdentity> identity = ExistingIdentity(target.path);
    if (!identity) {
      identity = ExistingIdentity(target.folder);
      if (!identity) continue;  // cannot happen after ResolveOutput; nothing to compare
      identity->name = target.name;
    }
    for (const FileOption& input : inputs)
      if (identity->name.empty() && ExistingIdentity(input.path) == identity)
        FailSame(output, input, command);
    for (const auto& [other, option] : written)
      if (other == *identity) FailSame(output, *option, command);
    written.emplace_back(*identity, &output);
  }
}

void CheckOutputOptions(const ParsedOptions& options, const std::vector<std::string>& inputs,
                        const std::vector<std::string>& outputs) {
  const auto named = [&](const std::vector<std::string>& names) {
    std::vector<FileOption> files;
    for (const std::string& name : names)
      for (std::string& path : options.All(name)) files.push_back({name, std::move(path)});
    return files;
  };
  CheckOutputs(named(inputs), named(outputs), options.command());
}

}  // namespace kavi::tool
