// Text as a JSON string literal.
#pragma once

#include <string>

namespace kavi::tool {

std::string JsonString(const std::string& text);

}  // namespace kavi::tool
