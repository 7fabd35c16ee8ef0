// Checks of a command's output files, made before any work starts: each can be
// written (its folder exists and is writable, it is not read-only, a folder or
// a link to nothing), and none is one of the command's inputs or another of its
// outputs. Sameness is by file identity (device and inode, after following
// symbolic links), not by how the names are written.
#pragma once

#include <string>
#include <vector>

#include "option_parser.h"

namespace kavi::tool {

struct FileOption {
  std::string option;  // "--map"
  std::string path;
};

// Throws UsageError "--out 'site.map' is the same file as --map 'site.map'"
// when an output is an input or another output, and CallFailure "could not
// write PATH: REASON" when an output cannot be written. Special files (a
// device such as /dev/null, a pipe) as outputs are written in place and are
// not compared.
void CheckOutputs(const std::vector<FileOption>& inputs, const std::vector<FileOption>& outputs,
                  const std::string& command);

// The same for files named by options: every value given of each option in
// `inputs` and `outputs` (options not given are left out).
void CheckOutputOptions(const ParsedOptions& options, const std::vector<std::string>& inputs,
                        const std::vector<std::string>& outputs);

}  // namespace kavi::tool
