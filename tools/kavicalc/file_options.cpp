#include "file_options.h"

#include "usage_error.h"

namespace kavi::tool {

const std::string* OptionalFile(const ParsedOptions& options, const std::string& name) {
  const std::string* file = options.Find(name);
  if (file && file->empty()) throw UsageError(name + " needs a file name", options.command());
  return file;
}

const std::string& RequiredFile(const ParsedOptions& options, const std::string& name) {
  options.Required(name, "FILE");
  return *OptionalFile(options, name);
}

}  // namespace kavi::tool
