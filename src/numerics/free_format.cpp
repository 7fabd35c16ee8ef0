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

// Powers of ten that a float holds exactly.
constexpr float kExactPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr int kMaxExactPower = 10;
constexpr unsigned long long kMaxExactMantissa = 1ull << 24;

// The common short decimal "ddd.ddd", read from `begin` up to the first field
// separator or `end`: when its digits form an integer m that a float holds
// exactly and it has at most ten decimals, m / 10^k is a single, correctly
// rounded division. Returns where the field stops, or nullptr when the text
// is of another form.
const char* ScanShortDecimal(const char* begin, const char* end, float& value) {
  unsigned long long mantissa = 0;
  int decimals = -1;  // digits after the point; -1 before the point
  int digits = 0;
  const char* p = begin;
  for (; p != end && !IsFieldSeparator(*p); ++p) {
    if (IsDigit(*p)) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
      if (++digits > 18) return nullptr;
      if (decimals >= 0) ++decimals;
    } else if (*p == '.' && decimals < 0) {
      decimals = 0;
    } else {
      return nullptr;
    }
  }
  if (digits == 0 || mantissa > kMaxExactMantissa || decimals > kMaxExactPower) return nullptr;
  value = static_cast<float>(mantissa) / kExactPowersOfTen[decimals < 0 ? 0 : decimals];
  return p;
}

bool ParseShortDecimal(const char* begin, const char* end, float& value) {
  return ScanShortDecimal(begin, end, value) == end;
}

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

bool ParseReal(const char* begin, const char* end, float& value) {
  const bool negative = TakeSign(begin, end);
  // Only digits or a point may start the number (no "inf", "nan" or signs).
  if (begin == end || !(IsDigit(*begin) || *begin == '.')) return false;
  float magnitude = 0.0f;
  if (!ParseShortDecimal(begin, end, magnitude) && !ParseUnsignedReal(begin, end, magnitude)) {
    // A D exponent: read again with an E in its place.
    const char* exponent = begin;
    while (exponent != end && *exponent != 'D' && *exponent != 'd') ++exponent;
    if (exponent == end || end - begin > kMaxExponentTokenLength) return false;
    char copy[kMaxExponentTokenLength];
    const int length = static_cast<int>(end - begin);
    for (int i = 0; i < length; ++i) copy[i] = begin[i];
    copy[exponent - begin] = 'E';
    if (!ParseUnsignedReal(copy, copy + length, magnitude)) return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

const char* ScanShortReal(const char* begin, const char* end, float& value) {
  const bool negative = TakeSign(begin, end);
  float magnitude = 0.0f;
  const char* stop = ScanShortDecimal(begin, end, magnitude);
  if (stop) value = negative ? -magnitude : magnitude;
  return stop;
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
