// The parameter list as an aligned table or as one JSON document.
#pragma once

#include <cstdio>
#include <vector>

#include "configuration_access.h"

namespace kavi::tool {

void WriteParameterTable(std::FILE* out, const std::vector<ParameterRow>& rows);
void WriteParameterJson(std::FILE* out, const std::vector<ParameterRow>& rows);

}  // namespace kavi::tool
