// Numbers as text: the shortest text that reads back as the same double or
// float, fixed decimals for aligned tables, and JSON numbers.
#pragma once

#include <string>

namespace kavi::tool {

// Shortest round-trip text: plain notation for ordinary magnitudes,
// exponent notation for very large or very small ones.
std::string ShortestText(double value);
std::string ShortestText(float value);
// value with a fixed number of decimals; "-" when not finite.
std::string FixedText(double value, int decimals);
// A JSON number that reads back exactly and always as a real ("1000.0");
// null when not finite, since JSON has no such numbers.
std::string JsonReal(double value);
std::string JsonReal(float value);

}  // namespace kavi::tool
