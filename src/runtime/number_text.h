// Numbers as automation text, independent of the process locale: the
// formatting and parsing rules of the variant conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavi::runtime {

// Shortest form with at most significantDigits significant digits; exponent
// form ("1E+20", "1E-07") when the exponent is below -4 or not below the digit
// count. Negative zero prints as "0".
std::u16string FormatReal(double value, int significantDigits);

std::u16string FormatInteger(std::int64_t value);

enum class ParseStatus { kOk, kNotANumber, kOverflow };

// Parses a decimal number ([sign] digits [. digits] [E [sign] digits]) with
// blanks allowed around it. Values too small for a double become 0 or a
// subnormal; values too large are kOverflow.
ParseStatus ParseReal(std::u16string_view text, double& value);

// The text without leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view text);

// ASCII case-insensitive comparison.
bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view word);

}  // namespace kavi::runtime
