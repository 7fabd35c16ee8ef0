// The whole tool: options before the command, the command, and the mapping
// of what ends it to the exit status.
#pragma once

#include <string>
#include <vector>

namespace kavi::tool {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// args: the arguments after the program name.
int RunTool(const std::vector<std::string>& args);

}  // namespace kavi::tool
