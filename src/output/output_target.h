// Where an output file really goes and whether it may be written there, decided
// before anything is written: the checks every writer of the project shares.
#pragma once

#include <sys/types.h>

#include <string>

namespace kavi::output {

struct OutputTarget {
  enum class Kind {
    kNew,      // no file yet: created in its folder
    kRegular,  // an existing regular file: replaced whole
    kInPlace,  // a device, pipe or other special file: written as it is
  };
  Kind kind = Kind::kNew;
  std::string path;    // the file written: the one a symbolic link names
  std::string folder;  // the folder of path
  std::string name;    // the last component of path
  mode_t mode = 0;     // permissions of an existing file
  uid_t owner = 0;     // owner and group of an existing file
  gid_t group = 0;
};

// Resolves the output named `path`. Returns "" and fills `target` when it may
// be written; otherwise the reason in words, e.g. "the folder 'out' does not
// exist". Refused: an empty name, a folder, a symbolic link to nothing, an
// existing file without write permission or of another user, a file whose
// folder is missing or cannot be written.
std::string ResolveOutput(const std::string& path, OutputTarget& target);

}  // namespace kavi::output
