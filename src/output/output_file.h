// The one way the project writes a file: readers see the old file or the new
// one, never a half-written file, and what the user named is what is written.
//
// A regular file is written into a temporary file in the target's folder and
// moved over the target once complete, keeping the target's permissions (and,
// for the superuser, its owner). The temporary file has no name while it is
// written where the file system allows (so a kill cannot leave it behind);
// elsewhere it is a named file removed on every exit the process controls,
// and those of killed processes are removed at the next write of the same
// output. Through a symbolic link the file it names is replaced; a link to
// nothing is refused. A device, pipe or other special file is written in
// place. Read-only files and files of other users are refused, not replaced.
#pragma once

#include <cstddef>
#include <string>

#include "output/output_target.h"

namespace kavi::output {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Discards what was written unless Commit succeeded.
  ~OutputFile();

  // False when the output may not or cannot be written; problem() says why.
  bool Open(const std::string& path);
  // False on a write failure.
  bool Write(const char* data, std::size_t size);
  // Makes the file durable and puts it in place. False (and nothing changed
  // at the target, except for a special file) when any step fails.
  bool Commit();

  // Why the last step failed, in words, e.g. "'a.lib' is read-only".
  const std::string& problem() const { return problem_; }

 private:
  bool Fail(const std::string& what, int error);
  bool OpenUnnamed();
  bool OpenNamed();
  bool GiveName();
  void Discard();

  OutputTarget target_;
  int fd_ = -1;
  bool failed_ = false;
  std::string temporary_;  // the named temporary file, "" while it has none
  std::string problem_;
};

// Writes the whole of `content` to `path` as OutputFile does. "" on success,
// else the reason.
std::string WriteWholeFile(const std::string& path, const std::string& content);

// Flushes a folder's entries to disk, so that a rename in it survives a crash.
void SyncFolder(const std::string& folder);

}  // namespace kavi::output
