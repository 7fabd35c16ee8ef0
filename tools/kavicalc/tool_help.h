// The tool's own help and version text.
#pragma once

#include <cstdio>

#include "tool_edition.h"

namespace kavi::tool {

void WriteToolHelp(std::FILE* out);
void WriteVersion(std::FILE* out, const ToolEdition& edition);

}  // namespace kavi::tool
