#include "value_parsers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "usage_error.h"

namespace kavi::tool {

namespace {
constexpr int kMaximumSectors = 36;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// Only the characters of a plain decimal number, so that strtod does not take
// "inf", "nan" or hexadecimal forms.
bool HasDecimalCharactersOnly(std::string_view text) {
  for (const char c : text) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E') return false;
  }
  return true;
}
}  // namespace

bool FitsSinglePrecision(double value) {
  return std::abs(value) <= std::numeric_limits<float>::max();
}

std::optional<double> ParseNumber(std::string_view text) {
  const std::string trimmed(Trim(text));
  if (trimmed.empty() || !HasDecimalCharactersOnly(trimmed)) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE || !std::isfinite(value))
    return std::nullopt;
  return value;
}

Position ParsePosition(const std::string& text, const std::string& command) {
  const auto comma = text.find(',');
  if (comma != std::string::npos) {
    const auto x = ParseNumber(std::string_view(text).substr(0, comma));
    const auto y = ParseNumber(std::string_view(text).substr(comma + 1));
    if (x && y && FitsSinglePrecision(*x) && FitsSinglePrecision(*y)) return {*x, *y};
  }
  throw UsageError("--at expects X,Y in map units, e.g. --at 1000,2000 (got '" + text + "')",
                   command);
}

double ParseHeight(const std::string& text, const std::string& command) {
  const auto height = ParseNumber(text);
  if (!height || *height <= 0 || !FitsSinglePrecision(*height) ||
      static_cast<float>(*height) <= 0.0f)
    throw UsageError(
        "--height expects a height above ground in metres greater than 0, e.g. --height 50 "
        "(got '" +
            text + "')",
        command);
  return *height;
}

int ParseSectorCount(const std::string& text, const std::string& command) {
  const auto count = ParseNumber(text);
  if (!count || *count != std::floor(*count) || *count < 1 || *count > kMaximumSectors)
    throw UsageError(
        "--sectors expects a whole number from 1 to 36, e.g. --sectors 12 (got '" + text + "')",
        command);
  return static_cast<int>(*count);
}

Setting ParseSetting(const std::string& text, const std::string& command) {
  const auto equals = text.find('=');
  const std::string id(Trim(std::string_view(text).substr(0, equals)));
  if (equals == std::string::npos || id.empty() ||
      Trim(std::string_view(text).substr(equals + 1)).empty())
    throw UsageError("--set expects ID=VALUE, e.g. --set STDH3=75 (got '" + text + "')", command);
  return {id, std::string(Trim(std::string_view(text).substr(equals + 1)))};
}

std::vector<Setting> ParseSettings(const std::vector<std::string>& texts,
                                   const std::string& command) {
  std::vector<Setting> settings;
  for (const std::string& text : texts) settings.push_back(ParseSetting(text, command));
  return settings;
}

std::string ParseFormat(const std::string* text, const std::vector<std::string>& allowed,
                        const std::string& command) {
  if (!text) return allowed.front();
  for (const std::string& format : allowed)
    if (*text == format) return format;
  std::string choices;
  for (const std::string& format : allowed) choices += (choices.empty() ? "" : "|") + format;
  throw UsageError("--format expects " + choices + " (got '" + *text + "')", command);
}

}  // namespace kavi::tool
