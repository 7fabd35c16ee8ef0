#include "site_list.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "bounded_lines.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr std::size_t kEchoLength = 60;
constexpr std::size_t kMaxSites = 10'000'000;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> SplitFields(const std::string& row) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const auto comma = row.find(',', start);
    fields.push_back(Trim(row.substr(start, comma - start)));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool IsHeader(const std::vector<std::string>& fields) {
  if (fields.size() < 2 || fields.size() > 3) return false;
  if (Lower(fields[0]) != "x" || Lower(fields[1]) != "y") return false;
  return fields.size() == 2 || Lower(fields[2]) == "height";
}

// The row as the message shows it: printable and not too long.
std::string Echo(const std::string& row) {
  std::string shown;
  for (const char c : row) shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  if (shown.size() > kEchoLength) shown = shown.substr(0, kEchoLength) + "...";
  return shown;
}

[[noreturn]] void BadRow(const std::string& name, int row, const std::string& expected,
                         const std::string& text, const std::string& command) {
  throw UsageError(name + ": row " + std::to_string(row) + ": expected " + expected + ", got '" +
                       Echo(text) + "'",
                   command);
}

SiteSpec ParseSite(const std::vector<std::string>& fields, bool first, const std::string& name,
                   int row, const std::string& text, const std::string& command) {
  const char* expected = first
                             ? "the header x,y[,height] or numbers x,y[,height], e.g. 1000,2000,50"
                             : "numbers x,y[,height], e.g. 1000,2000,50";
  if (fields.size() < 2 || fields.size() > 3) BadRow(name, row, expected, text, command);
  const auto x = ParseNumber(fields[0]);
  const auto y = ParseNumber(fields[1]);
  if (!x || !y || !FitsSinglePrecision(*x) || !FitsSinglePrecision(*y))
    BadRow(name, row, expected, text, command);
  SiteSpec site{*x, *y, std::nullopt};
  if (fields.size() == 3) {
    const auto height = ParseNumber(fields[2]);
    if (!height || *height <= 0 || !FitsSinglePrecision(*height))
      BadRow(name, row, "a height above ground in metres greater than 0 in column 3", text,
             command);
    site.height = *height;
  }
  return site;
}
}  // namespace

std::vector<SiteSpec> ReadSiteList(std::istream& in, const std::string& name,
                                   const std::string& command) {
  std::vector<SiteSpec> sites;
  bool first = true;
  BoundedLines lines(in, name, command);
  std::string line;
  while (lines.Next(line)) {
    const int row = static_cast<int>(lines.number());
    const std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    const std::vector<std::string> fields = SplitFields(text);
    if (!(first && IsHeader(fields)))
      sites.push_back(ParseSite(fields, first, name, row, text, command));
    if (sites.size() > kMaxSites)
      throw UsageError(name + ": more than 10 million sites; split the list", command);
    first = false;
  }
  if (in.bad()) throw UsageError(name + ": cannot read the sites file", command);
  if (sites.empty()) throw UsageError(name + ": no sites (expected rows x,y[,height])", command);
  return sites;
}

std::vector<SiteSpec> ReadSiteList(const std::string& path, const std::string& command) {
  std::ifstream in(path);
  if (!in)
    throw UsageError(path + ": cannot open the sites file: " + std::strerror(errno), command);
  return ReadSiteList(in, path, command);
}

}  // namespace kavi::tool
