#include "time_stamp.h"

#include <charconv>

namespace kavi::tool {

namespace {
// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const int shiftedMonth = month > 2 ? month - 3 : month + 9;
  const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

bool LeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(std::int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly digits digits from text at position at.
bool Digits(std::string_view text, std::size_t& at, std::size_t digits, int& value) {
  if (at + digits > text.size()) return false;
  for (std::size_t i = at; i < at + digits; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  std::from_chars(text.data() + at, text.data() + at + digits, value);
  at += digits;
  return true;
}

// One or two digits, as in "1/5/2020".
bool ShortDigits(std::string_view text, std::size_t& at, int& value) {
  const bool two = at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '9';
  return Digits(text, at, two ? 2 : 1, value);
}

bool Expect(std::string_view text, std::size_t& at, char c) {
  if (at >= text.size() || text[at] != c) return false;
  ++at;
  return true;
}

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
};

bool ReadDate(std::string_view text, std::size_t& at, Date& date) {
  std::size_t probe = at;
  int first = 0;
  if (Digits(text, probe, 4, first) && probe < text.size() &&
      (text[probe] == '-' || text[probe] == '/')) {
    const char separator = text[probe++];
    date.year = first;
    if (!ShortDigits(text, probe, date.month) || !Expect(text, probe, separator) ||
        !ShortDigits(text, probe, date.day))
      return false;
  } else {
    probe = at;
    if (!ShortDigits(text, probe, date.month) || !Expect(text, probe, '/') ||
        !ShortDigits(text, probe, date.day) || !Expect(text, probe, '/') ||
        !Digits(text, probe, 4, date.year))
      return false;
  }
  at = probe;
  return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month);
}

// "HH:MM[:SS]" as seconds from midnight; 24:00[:00] is the day's end.
bool ReadTime(std::string_view text, std::size_t& at, int& seconds) {
  int hour = 0, minute = 0, second = 0;
  if (!ShortDigits(text, at, hour) || !Expect(text, at, ':') || !Digits(text, at, 2, minute))
    return false;
  if (at < text.size() && text[at] == ':' && !(++at, Digits(text, at, 2, second))) return false;
  if (minute > 59 || second > 59 || hour > 24 || (hour == 24 && (minute || second))) return false;
  seconds = hour * 3600 + minute * 60 + second;
  return true;
}
}  // namespace

std::optional<std::int64_t> ParseTimeStamp(std::string_view text) {
  std::size_t at = 0;
  Date date;
  if (!ReadDate(text, at, date)) return std::nullopt;
  int seconds = 0;
  if (at < text.size() && (text[at] == ' ' || text[at] == 'T')) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at < text.size() && text[at] == 'T') ++at;
    if (!ReadTime(text, at, seconds)) return std::nullopt;
    if (at < text.size() && text[at] == 'Z') ++at;
  }
  if (at != text.size()) return std::nullopt;
  return DaysFromCivil(date.year, date.month, date.day) * 86400 + seconds;
}

}  // namespace kavi::tool
