// Locale-independent number formatting and parsing for the variant conversions.
#include "number_text.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kavi::runtime {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

std::u16string Widen(const char* begin, const char* end) {
  std::u16string out;
  for (const char* p = begin; p != end; ++p) out += static_cast<char16_t>(*p);
  return out;
}

// The C locale, for strtod_l: parsing must not depend on the host's setlocale.
locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

// Checks the grammar of a decimal number; strtod alone would also take hex,
// "inf", "nan" and trailing text.
bool IsDecimalNumber(std::u16string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == u'.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == s.size();
}

}  // namespace

std::u16string FormatReal(double value, int significantDigits) {
  if (value == 0) return u"0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, significantDigits);
  std::u16string text = Widen(buffer, result.ptr);
  for (char16_t& c : text)
    if (c >= u'a' && c <= u'z') c -= u'a' - u'A';
  return text;
}

std::u16string FormatInteger(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Widen(buffer, result.ptr);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (Lower(text[i]) != Lower(word[i])) return false;
  return true;
}

ParseStatus ParseReal(std::u16string_view text, double& value) {
  const std::u16string_view number = TrimBlanks(text);
  if (!IsDecimalNumber(number)) return ParseStatus::kNotANumber;
  std::string narrow(number.begin(), number.end());  // ASCII only after the check
  errno = 0;
  const double parsed = strtod_l(narrow.c_str(), nullptr, CLocale());
  if (errno == ERANGE && std::isinf(parsed)) return ParseStatus::kOverflow;
  value = parsed;
  return ParseStatus::kOk;
}

}  // namespace kavi::runtime
