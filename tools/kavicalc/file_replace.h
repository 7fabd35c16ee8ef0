// Writing the tool's output files with the project's one safe writer: readers
// see either the old file or the new one, never a half-written file; a
// symbolic link is written through, a device or pipe written in place, a
// read-only file or another user's file refused; no temporary file is left
// behind.
#pragma once

#include <functional>
#include <string>

namespace kavi::tool {

// Writes content to path. On any failure an existing file at path is left as
// it was and CallFailure "could not write PATH: REASON" is thrown.
void ReplaceFile(const std::string& path, const std::string& content);

// For files that a library writes by name (rasters, NetCDF, GeoPackage):
// calls write with the name of a temporary file that does not exist yet and
// ends in path's extension, so that format drivers chosen by extension work;
// once write returns, the temporary file is put in place of path. When write
// throws or putting it in place fails the temporary file is removed, an
// existing file at path is left as it was, and the exception goes on (a
// failure of the writer itself throws CallFailure "could not write PATH:
// REASON").
void ReplaceFileWith(const std::string& path,
                     const std::function<void(const std::string& temporary)>& write);

}  // namespace kavi::tool
