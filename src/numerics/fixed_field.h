// Numbers in fixed-width, right-aligned text fields; a value that does not fit
// its field is written as a field of asterisks, as formatted output does.
#pragma once

#include <string>

namespace kavi::numerics {

// `value` with `decimals` decimals in `width` characters (asterisks also for
// a value that is not finite).
void AppendFixed(std::string& out, float value, int width, int decimals);

// `value` in `width` characters.
void AppendInteger(std::string& out, int value, int width);

}  // namespace kavi::numerics
