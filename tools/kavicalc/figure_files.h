// The files of a figure: SVG, or PNG when the name asks for it.
#pragma once

#include <string>
#include <vector>

namespace kavi::tool {

// Whether path names a PNG image (".png", any letter case); otherwise SVG.
bool IsPngName(const std::string& path);

// A usage error unless path ends in ".svg" or ".png" (any letter case).
void CheckFigureName(const std::string& path, const std::string& option,
                     const std::string& command);

// The names the pages are written to: path itself for one page; otherwise
// path's stem with "-1", "-2", ... before its extension.
std::vector<std::string> PageNames(const std::string& path, std::size_t pages);

// Writes each SVG page (rendered to PNG for a PNG name) through a temporary
// file; returns the names written, in page order.
std::vector<std::string> WriteFigure(const std::string& path,
                                     const std::vector<std::string>& pages);

}  // namespace kavi::tool
