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
// For values the engine computed in single precision and handed out as
// doubles: the shortest text of the single when the double is exactly one,
// otherwise that of the double. Either way the text reads back to the value.
std::string EngineText(double value);
std::string EngineJson(double value);

}  // namespace kavi::tool
