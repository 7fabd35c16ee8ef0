// The tool's check of an obstacles file before the engine reads it, so that a
// line the engine would take apart or leave out is reported with its number:
// every line after an optional title must be blank or hold exactly the seven
// numbers of one obstacle (bearing and distance of both corners, height,
// depth, porosity), each a shape near a site, and there are at most 50.
#pragma once

#include <string>

namespace kavi::tool {

// Throws UsageError "obstacles 'site.obs', line 4: <what is wrong>".
void CheckObstacleFile(const std::string& path, const std::string& command);

}  // namespace kavi::tool
