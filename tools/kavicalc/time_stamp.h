// Time stamps of measured series as one comparable number: seconds since
// 1970-01-01 00:00 on the series' own clock (no time zones).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kavi::tool {

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS]" (also with 'T' between date and time
// and a trailing 'Z'), "YYYY/MM/DD ..." and the US form "MM/DD/YYYY [HH:MM[:SS]]".
// Hour 24:00 is the end of the day. Nothing else is taken.
std::optional<std::int64_t> ParseTimeStamp(std::string_view text);

}  // namespace kavi::tool
