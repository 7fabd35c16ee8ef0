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

// Where each quantity sits in a row; -1 when the file has no such column.
struct Columns {
  int x = 0;
  int y = 1;
  int height = 2;
  int name = -1;
  std::size_t count = 0;  // 0: rows of two or three numbers, no header
};

constexpr const char* kHeaderNames =
    "x or easting, y or northing, and optionally height or hub_height and name";

bool IsNumberRow(const std::vector<std::string>& fields) {
  for (const std::string& field : fields)
    if (!ParseNumber(field)) return false;
  return true;
}

// The columns a header row names, in any order and any letter case.
Columns HeaderColumns(const std::vector<std::string>& fields, const std::string& file, int row,
                      const std::string& command) {
  Columns columns{-1, -1, -1, -1, fields.size()};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string key = Lower(fields[i]);
    int* slot = key == "x" || key == "easting"           ? &columns.x
                : key == "y" || key == "northing"        ? &columns.y
                : key == "height" || key == "hub_height" ? &columns.height
                : key == "name"                          ? &columns.name
                                                         : nullptr;
    const std::string where =
        file + ": row " + std::to_string(row) + ", column " + std::to_string(i + 1) + ": ";
    if (!slot)
      throw UsageError(where + "unknown column '" + Echo(fields[i]) + "' (the header names " +
                           kHeaderNames + ")",
                       command);
    if (*slot >= 0)
      throw UsageError(where + "column '" + Echo(fields[i]) + "' is named twice", command);
    *slot = static_cast<int>(i);
  }
  if (columns.x < 0 || columns.y < 0)
    throw UsageError(
        file + ": row " + std::to_string(row) + ": the header must name " + kHeaderNames, command);
  return columns;
}

std::string ColumnList(const std::vector<std::string>& header) {
  std::string list;
  for (const std::string& name : header) list += (list.empty() ? "" : ",") + name;
  return list;
}

SiteSpec ParseSite(const std::vector<std::string>& fields, const Columns& columns,
                   const std::vector<std::string>& header, const std::string& name, int row,
                   const std::string& text, const std::string& command) {
  const std::string expected =
      columns.count == 0 ? "numbers x,y[,height], e.g. 1000,2000,50"
                         : std::to_string(columns.count) + " fields " + ColumnList(header) +
                               " as the header names them, with numbers for the position";
  if (columns.count == 0 ? (fields.size() < 2 || fields.size() > 3)
                         : fields.size() != columns.count)
    BadRow(name, row, expected, text, command);
  const auto x = ParseNumber(fields[static_cast<std::size_t>(columns.x)]);
  const auto y = ParseNumber(fields[static_cast<std::size_t>(columns.y)]);
  if (!x || !y || !FitsSinglePrecision(*x) || !FitsSinglePrecision(*y))
    BadRow(name, row, expected, text, command);
  SiteSpec site{*x, *y, std::nullopt, {}};
  const auto heightColumn = static_cast<std::size_t>(columns.height);
  if (columns.height >= 0 && heightColumn < fields.size()) {
    const auto height = ParseNumber(fields[heightColumn]);
    if (!height || *height <= 0 || !FitsSinglePrecision(*height))
      BadRow(name, row,
             "a height above ground in metres greater than 0 in column " +
                 std::to_string(heightColumn + 1),
             text, command);
    site.height = *height;
  }
  if (columns.name >= 0) site.name = fields[static_cast<std::size_t>(columns.name)];
  return site;
}
}  // namespace

std::vector<SiteSpec> ReadSiteList(std::istream& in, const std::string& name,
                                   const std::string& command) {
  std::vector<SiteSpec> sites;
  Columns columns;
  std::vector<std::string> header;
  bool first = true;
  BoundedLines lines(in, name, command);
  std::string line;
  while (lines.Next(line)) {
    const int row = static_cast<int>(lines.number());
    const std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    const std::vector<std::string> fields = SplitFields(text);
    if (first && !IsNumberRow(fields)) {
      columns = HeaderColumns(fields, name, row, command);
      header = fields;
    } else {
      sites.push_back(ParseSite(fields, columns, header, name, row, text, command));
    }
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
