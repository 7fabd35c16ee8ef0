// Writing a whole file so that readers see either the old one or the new
// one, never a half-written file.
#pragma once

#include <string>

namespace kavi::tool {

// Writes content to a new temporary file beside path and renames it into
// place. On any failure the temporary file is removed, an existing file at
// path is left as it was, and CallFailure "could not write PATH: REASON" is
// thrown.
void ReplaceFile(const std::string& path, const std::string& content);

}  // namespace kavi::tool
