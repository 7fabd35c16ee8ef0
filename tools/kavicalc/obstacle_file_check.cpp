#include "obstacle_file_check.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "bounded_lines.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
// The engine's own limits (its obstacle list and what it takes for a shape).
constexpr int kMaxObstacles = 50;
constexpr double kMaxHeight = 1000.0;
constexpr double kMinBearing = -360.0;
constexpr double kMaxBearing = 720.0;
constexpr std::size_t kValues = 7;
constexpr std::size_t kMaxWordLength = 64;

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\v' || c == '\f';
}

// The words of a line, split as the engine splits free-format records.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// A number as the engine reads it: also with a Fortran exponent (1.5D3), and
// no longer than the engine reads a number.
std::optional<double> Number(std::string word) {
  if (word.size() > kMaxWordLength) return std::nullopt;
  for (char& c : word)
    if (c == 'd' || c == 'D') c = 'e';
  const auto value = ParseNumber(word);
  if (value && !FitsSinglePrecision(*value)) return std::nullopt;
  return value;
}

// "" when the seven values are an obstacle, else what is wrong.
std::string Problem(const std::vector<double>& v) {
  for (const std::size_t i : {0u, 2u})
    if (v[i] < kMinBearing || v[i] > kMaxBearing)
      return "bearing " + std::to_string(v[i]) + " outside -360 to 720 degrees";
  for (const std::size_t i : {1u, 3u})
    if (v[i] < 0) return "negative distance " + std::to_string(v[i]) + " m";
  if (!(v[4] > 0 && v[4] <= kMaxHeight))
    return "height " + std::to_string(v[4]) + " m not above 0 and at most 1000 m";
  if (!(v[6] >= 0 && v[6] <= 1)) return "porosity " + std::to_string(v[6]) + " outside 0 to 1";
  return {};
}
}  // namespace

void CheckObstacleFile(const std::string& path, const std::string& command) {
  std::ifstream in(path, std::ios::binary);
  // A file that cannot be opened is left to the calculation, whose failure
  // names the file with the system's reason and the server's own message.
  if (!in) return;
  const std::string name = "obstacles '" + path + "'";
  BoundedLines lines(in, name, command);
  int obstacles = 0;
  std::string line;
  while (lines.Next(line)) {
    if (lines.number() == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    std::vector<double> values;
    for (const std::string& word : words) {
      const auto value = Number(word);
      if (!value) break;
      values.push_back(*value);
    }
    const bool numbers = values.size() == words.size();
    // The first line is the title unless it starts with the numbers of an obstacle.
    if (lines.number() == 1 && values.size() < kValues) continue;
    const std::string where = name + ", line " + std::to_string(lines.number()) + ": ";
    if (!numbers || words.size() != kValues)
      throw UsageError(where +
                           "expected the 7 numbers of an obstacle (a1 r1 a2 r2 height depth "
                           "porosity), got " +
                           std::to_string(words.size()) + " values",
                       command);
    if (const std::string problem = Problem(values); !problem.empty())
      throw UsageError(where + problem, command);
    if (++obstacles > kMaxObstacles) throw UsageError(where + "more than 50 obstacles", command);
  }
}

}  // namespace kavi::tool
