// Writing a whole file so that readers see either the old one or the new
// one, never a half-written file.
#pragma once

#include <functional>
#include <string>

namespace kavi::tool {

// Writes content to a new temporary file beside path and renames it into
// place. On any failure the temporary file is removed, an existing file at
// path is left as it was, and CallFailure "could not write PATH: REASON" is
// thrown.
void ReplaceFile(const std::string& path, const std::string& content);

// For files that a library writes by name (rasters, NetCDF, GeoPackage):
// calls write with the name of a temporary file beside path that does not
// exist yet and ends in path's extension, so that format drivers chosen by
// extension work; once write returns, the temporary file is renamed over
// path. When write throws or the rename fails the temporary file is removed,
// an existing file at path is left as it was, and the exception goes on (a
// failed rename throws CallFailure "could not write PATH: REASON").
void ReplaceFileWith(const std::string& path,
                     const std::function<void(const std::string& temporary)>& write);

}  // namespace kavi::tool
