#include "file_replace.h"

#include "call_failure.h"
#include "output/named_output.h"
#include "output/output_file.h"

namespace kavi::tool {

namespace {
[[noreturn]] void FailWriting(const std::string& path, const std::string& reason) {
  Fail(E_FAIL, "could not write " + path + ": " + reason);
}
}  // namespace

void ReplaceFile(const std::string& path, const std::string& content) {
  if (const std::string problem = output::WriteWholeFile(path, content); !problem.empty())
    FailWriting(path, problem);
}

void ReplaceFileWith(const std::string& path,
                     const std::function<void(const std::string& temporary)>& write) {
  output::NamedOutput file;
  if (!file.Open(path)) FailWriting(path, file.problem());
  write(file.temporary());  // on a throw, the destructor removes the temporary
  if (!file.Commit()) FailWriting(path, file.problem());
}

}  // namespace kavi::tool
