#include "numerics/free_format.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kavi::numerics {

namespace {

// Longest real written with a D exponent that is still read (it has to be
// copied to swap the D for an E).
constexpr int kMaxExponentTokenLength = 512;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Strips a leading sign; true when it was a minus.
bool TakeSign(const char*& begin, const char* end) {
  if (begin == end || (*begin != '+' && *begin != '-')) return false;
  return *begin++ == '-';
}

// Parses [begin, end) as an unsigned decimal real with an E exponent. A value
// outside the single-precision range is read once more in a wider type to tell
// an underflow (accepted, rounded to 0 or a subnormal) from an overflow.
bool ParseUnsignedReal(const char* begin, const char* end, float& value) {
  float parsed = 0.0f;
  const auto result = std::from_chars(begin, end, parsed);
  if (result.ptr != end) return false;
  if (result.ec == std::errc::result_out_of_range) {
    long double wide = 0.0L;
    const auto retry = std::from_chars(begin, end, wide);
    if (retry.ec != std::errc() || retry.ptr != end) return false;
    if (wide > static_cast<long double>(std::numeric_limits<float>::max())) return false;
    parsed = static_cast<float>(wide);
  } else if (result.ec != std::errc()) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace

bool IsFieldSeparator(char c) {
  return c == ' ' || c == ',' || c == '\t' || c == '\n' || c == '\r';
}

bool ParseReal(const char* begin, const char* end, float& value) {
  const bool negative = TakeSign(begin, end);
  // Only digits or a point may start the number (no "inf", "nan" or signs).
  if (begin == end || !(IsDigit(*begin) || *begin == '.')) return false;
  float magnitude = 0.0f;
  const char* exponent = begin;
  while (exponent != end && *exponent != 'D' && *exponent != 'd') ++exponent;
  if (exponent == end) {
    if (!ParseUnsignedReal(begin, end, magnitude)) return false;
  } else {
    if (end - begin > kMaxExponentTokenLength) return false;
    char copy[kMaxExponentTokenLength];
    const int length = static_cast<int>(end - begin);
    for (int i = 0; i < length; ++i) copy[i] = begin[i];
    copy[exponent - begin] = 'E';
    if (!ParseUnsignedReal(copy, copy + length, magnitude)) return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

bool ParseInteger(const char* begin, const char* end, int& value) {
  const bool negative = TakeSign(begin, end);
  if (begin == end || !IsDigit(*begin)) return false;
  // Parsed as a 64-bit magnitude so that the most negative int is accepted.
  long long magnitude = 0;
  const auto result = std::from_chars(begin, end, magnitude);
  if (result.ec != std::errc() || result.ptr != end) return false;
  const long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue < std::numeric_limits<int>::min() ||
      signedValue > std::numeric_limits<int>::max()) {
    return false;
  }
  value = static_cast<int>(signedValue);
  return true;
}

bool FieldReader::NextField(const char*& begin, const char*& end) {
  while (next_ != end_ && IsFieldSeparator(*next_)) ++next_;
  if (next_ == end_) return false;
  begin = next_;
  while (next_ != end_ && !IsFieldSeparator(*next_)) ++next_;
  end = next_;
  return true;
}

bool FieldReader::NextReal(float& value) {
  const char* begin = nullptr;
  const char* end = nullptr;
  return NextField(begin, end) && ParseReal(begin, end, value);
}

bool FieldReader::NextInteger(int& value) {
  const char* begin = nullptr;
  const char* end = nullptr;
  return NextField(begin, end) && ParseInteger(begin, end, value);
}

}  // namespace kavi::numerics
