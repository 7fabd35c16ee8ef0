// SVG pictures rendered to PNG images, for users who want a picture any
// viewer shows.
#pragma once

#include <string>

namespace kavi::tool {

// The PNG image of the SVG document at its own size; throws CallFailure when
// the document cannot be rendered.
std::string RenderPng(const std::string& svg);

}  // namespace kavi::tool
