// File-name options: given names must not be empty and must be valid UTF-8
// (the engine takes names as Unicode text, so any other bytes would name
// another file).
#pragma once

#include <string>

#include "option_parser.h"

namespace kavi::tool {

const std::string& RequiredFile(const ParsedOptions& options, const std::string& name);
// nullptr when the option was not given.
const std::string* OptionalFile(const ParsedOptions& options, const std::string& name);

// True when text is well-formed UTF-8 (no overlong forms, surrogates or
// values beyond U+10FFFF).
bool IsValidUtf8(const std::string& text);

}  // namespace kavi::tool
