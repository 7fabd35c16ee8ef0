// Reader of the obstacles data file: an optional title line, then one obstacle
// per record of seven numbers in free format (blanks or commas between them):
// bearing and distance of corner 1, bearing and distance of corner 2, height,
// depth and porosity.
#pragma once

#include <string_view>

#include "numerics/obstacle_input.h"

namespace kavi::numerics {

struct Context;

// Failures of the reader that have no code of their own in the status table.
// Both lie outside codes 2 … 8, so the status check reports them as an
// unexpected failure of the numerical core.
constexpr int kStatusObstacleFileMissing = 1;     // the file cannot be opened
constexpr int kStatusObstacleFileUnreadable = 9;  // a record holds something other than numbers

// Reads the obstacles (at most 50) and the title from the file `name` and
// returns them. The first line is the first obstacle when it holds seven
// numbers, otherwise it is the title. A record may continue over following lines;
// numbers after the seventh on a line are ignored; an incomplete last record ends the list. A 51st
// obstacle sets status 2 (the list is too large); an obstacle that is no plausible shape
// (ObstacleIsPlausible) is unreadable. On failure sets the status word (constants above) and
// returns count 0.
ObstacleInput ReadObstacleFile(Context& ctx, std::string_view name);

}  // namespace kavi::numerics
