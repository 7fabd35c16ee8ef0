#include "roughness_rose_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "call_failure.h"

namespace kavi::tool {

namespace {
constexpr int kMostSectors = 36;
constexpr int kMostChanges = 10;
constexpr int kSkippedLines = 2;  // the tag and an empty line

// The numbers of the file after its first lines, one at a time.
class NumberReader {
 public:
  NumberReader(std::string_view text, const std::string& name) : text_(text), name_(name) {}

  [[noreturn]] void Refuse(const std::string& reason) const {
    Fail(E_FAIL, "could not read the roughness rose " + name_ + ": " + reason);
  }

  int NextInteger(const std::string& what) {
    const std::string_view token = Next(what);
    int value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size())
      Refuse(what + " is not a whole number: '" + std::string(token) + "'");
    return value;
  }

  double NextReal(const std::string& what) {
    std::string_view token = Next(what);
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value))
      Refuse(what + " is not a number: '" + std::string(token) + "'");
    return value;
  }

 private:
  std::string_view Next(const std::string& what) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text_.empty() && blank(text_.front())) text_.remove_prefix(1);
    if (text_.empty()) Refuse("the file ends before " + what);
    std::size_t length = 0;
    while (length < text_.size() && !blank(text_[length])) ++length;
    const std::string_view token = text_.substr(0, length);
    text_.remove_prefix(length);
    return token;
  }

  std::string_view text_;
  const std::string& name_;
};

std::string SectorText(std::size_t sector) { return "sector " + std::to_string(sector + 1); }

RoughnessRose ParseRoughnessRose(std::string_view text, const std::string& name) {
  for (int line = 0; line < kSkippedLines; ++line) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
      NumberReader(text, name).Refuse("the file ends before the sector count");
    text.remove_prefix(end + 1);
  }
  NumberReader numbers(text, name);
  const int count = numbers.NextInteger("the sector count");
  if (count < 1 || count > kMostSectors)
    numbers.Refuse("the sector count " + std::to_string(count) + " is not from 1 to 36");

  RoughnessRose rose;
  rose.sectors.resize(static_cast<std::size_t>(count));
  std::vector<int> changes;
  for (std::size_t s = 0; s < rose.sectors.size(); ++s) {
    const int c = numbers.NextInteger("the number of changes of " + SectorText(s));
    if (c < 0 || c > kMostChanges)
      numbers.Refuse("the number of changes of " + SectorText(s) + ", " + std::to_string(c) +
                     ", is not from 0 to 10");
    changes.push_back(c);
  }
  // Rows beyond a sector's own changes hold leftovers and are passed over.
  const int rows = *std::max_element(changes.begin(), changes.end());
  for (int r = 0; r <= rows; ++r) {
    for (const bool distance : {false, true}) {
      if (distance && r == rows) break;
      for (std::size_t s = 0; s < rose.sectors.size(); ++s) {
        const std::string what = std::string(distance ? "distance " : "roughness length ") +
                                 std::to_string(r + 1) + " of " + SectorText(s);
        const double value = numbers.NextReal(what);
        if (r > changes[s] || (distance && r == changes[s])) continue;
        if (value < 0) numbers.Refuse(what + " is negative");
        std::vector<double>& list =
            distance ? rose.sectors[s].distances : rose.sectors[s].roughness;
        if (distance && !list.empty() && value < list.back())
          numbers.Refuse("the distances of " + SectorText(s) + " do not increase");
        list.push_back(value);
      }
    }
  }
  return rose;
}
}  // namespace

RoughnessRose ReadRoughnessRoseFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || in.bad())
    Fail(E_FAIL, "could not read the roughness rose " + path + ": " + std::strerror(errno));
  return ParseRoughnessRose(text.str(), path);
}

}  // namespace kavi::tool
