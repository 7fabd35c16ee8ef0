// An output that a library writes by file name (rasters, NetCDF, pictures):
// the library writes a named temporary file, which is then put in place with
// the same guarantees as OutputFile (permissions kept, links written through,
// special files written in place, read-only and other users' files refused).
// The temporary file is removed on every exit the process controls, and
// those of killed processes are removed at the next write of the same output.
#pragma once

#include <string>

#include "output/output_target.h"

namespace kavi::output {

class NamedOutput {
 public:
  NamedOutput() = default;
  NamedOutput(const NamedOutput&) = delete;
  NamedOutput& operator=(const NamedOutput&) = delete;
  // Removes the temporary file unless Commit succeeded.
  ~NamedOutput();

  // Checks the output and chooses a temporary name that does not exist yet
  // and ends in the target's extension. False when the output may not be
  // written; problem() says why.
  bool Open(const std::string& path);
  // The name for the library to write to.
  const std::string& temporary() const { return temporary_; }
  // Puts the written temporary file in place. False (the target unchanged,
  // except for a special file) when it fails.
  bool Commit();

  const std::string& problem() const { return problem_; }

 private:
  bool Fail(const std::string& what, int error);
  bool CopyInPlace();
  void Discard();

  OutputTarget target_;
  std::string temporary_;
  std::string problem_;
};

}  // namespace kavi::output
