// File-name options: given names must not be empty.
#pragma once

#include <string>

#include "option_parser.h"

namespace kavi::tool {

const std::string& RequiredFile(const ParsedOptions& options, const std::string& name);
// nullptr when the option was not given.
const std::string* OptionalFile(const ParsedOptions& options, const std::string& name);

}  // namespace kavi::tool
