#include "figure_files.h"

#include <filesystem>

#include "file_replace.h"
#include "png_render.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {
std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}
}  // namespace

bool IsPngName(const std::string& path) { return LowerExtension(path) == ".png"; }

void CheckFigureName(const std::string& path, const std::string& option,
                     const std::string& command) {
  const std::string extension = LowerExtension(path);
  if (extension != ".svg" && extension != ".png")
    throw UsageError(option +
                         " writes an SVG or a PNG image: the name must end in .svg or .png (got '" +
                         path + "')",
                     command);
}

std::vector<std::string> PageNames(const std::string& path, std::size_t pages) {
  if (pages == 1) return {path};
  const std::filesystem::path name(path);
  std::vector<std::string> names;
  for (std::size_t page = 1; page <= pages; ++page) {
    std::filesystem::path numbered = name;
    numbered.replace_filename(name.stem().string() + "-" + std::to_string(page) +
                              name.extension().string());
    names.push_back(numbered.string());
  }
  return names;
}

std::vector<std::string> WriteFigure(const std::string& path,
                                     const std::vector<std::string>& pages) {
  const std::vector<std::string> names = PageNames(path, pages.size());
  const bool png = IsPngName(path);
  for (std::size_t i = 0; i < pages.size(); ++i)
    ReplaceFile(names[i], png ? RenderPng(pages[i]) : pages[i]);
  return names;
}

}  // namespace kavi::tool
