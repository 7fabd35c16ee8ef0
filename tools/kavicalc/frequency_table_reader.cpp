#include "frequency_table_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "call_failure.h"
#include "delimited_text.h"
#include "number_text.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr int kMostSectors = 36;

[[noreturn]] void FailWith(const std::string& message) { Fail(E_FAIL, message); }

bool Contains(std::string text, const char* word) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text.find(word) != std::string::npos;
}

struct Layout {
  std::size_t upper = 0;
  std::optional<std::size_t> lower;
  std::vector<std::size_t> sectors;
};

Layout FindLayout(const std::vector<std::string>& names) {
  Layout layout;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Contains(names[i], "upper")) layout.upper = i;
    if (Contains(names[i], "lower")) layout.lower = i;
  }
  for (std::size_t i = 0; i < names.size(); ++i)
    if (i != layout.upper && (!layout.lower || i != *layout.lower)) layout.sectors.push_back(i);
  return layout;
}

class TableReader {
 public:
  TableReader(const std::string& path, const std::vector<std::string>& names)
      : path_(path), names_(names) {}

  std::string Where(const TextLine& line, std::size_t column) const {
    return path_ + ", line " + std::to_string(line.number) + ", column " +
           std::to_string(column + 1) + " (" + names_[column] + ")";
  }

  // The number in column of the line; nothing for an empty field.
  std::optional<double> Number(const TextLine& line, const std::vector<std::string_view>& fields,
                               std::size_t column) const {
    if (column >= fields.size()) {
      if (!line.ended) FailWith(Where(line, column) + ": the file ends in the middle of this line");
      FailWith(Where(line, column) + ": the line has only " + std::to_string(fields.size()) +
               " fields");
    }
    if (fields[column].empty()) return std::nullopt;
    const auto value = ParseNumber(Unquoted(fields[column]));
    if (!value)
      FailWith(Where(line, column) + ": '" + std::string(fields[column]) + "' is not a number");
    return value;
  }

  double Count(const TextLine& line, const std::vector<std::string_view>& fields,
               std::size_t column) const {
    const double count = Number(line, fields, column).value_or(0);
    if (count < 0) FailWith(Where(line, column) + ": a frequency cannot be negative");
    return count;
  }

 private:
  const std::string& path_;
  const std::vector<std::string>& names_;
};
}  // namespace

FrequencyTable ReadFrequencyTable(const std::string& path, int skipRows) {
  const DelimitedText text(path);
  const std::vector<TextLine>& lines = text.lines();
  const auto blank = [](const TextLine& line) {
    return line.text.find_first_not_of(" \t") == std::string_view::npos;
  };
  if (std::all_of(lines.begin(), lines.end(), blank)) FailWith(path + " is empty");
  const std::size_t headerIndex = static_cast<std::size_t>(skipRows);
  if (headerIndex >= lines.size())
    FailWith(path + ": no header row after the " + std::to_string(skipRows) + " rows skipped");

  const TextLine& header = lines[headerIndex];
  const char delimiter = FindDelimiter(header.text);
  std::vector<std::string_view> fields;
  SplitFields(header.text, delimiter, fields);
  std::vector<std::string> names;
  for (const std::string_view field : fields) names.push_back(Unquoted(field));
  const Layout layout = FindLayout(names);
  const int sectors = static_cast<int>(layout.sectors.size());
  if (sectors < 1 || sectors > kMostSectors)
    FailWith(path + ", line " + std::to_string(header.number) + ": " + std::to_string(sectors) +
             " sector columns; a frequency table has 1 to 36 sectors after its speed limits");

  FrequencyTable table;
  BinnedClimate& climate = table.climate;
  climate.sectors = sectors;
  climate.counts.assign(sectors, {});
  for (const std::size_t column : layout.sectors) table.sectorNames.push_back(names[column]);
  const TableReader reader(path, names);
  bool calmRow = false;
  for (std::size_t i = headerIndex + 1; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    if (blank(line)) continue;
    SplitFields(line.text, delimiter, fields);
    if (Contains(Unquoted(fields[0]).substr(0, 4), "calm")) {
      if (calmRow) FailWith(path + ", line " + std::to_string(line.number) + ": a second calm row");
      calmRow = true;
      for (const std::size_t column : layout.sectors)
        climate.calms += reader.Count(line, fields, column);
      continue;
    }
    const auto upper = reader.Number(line, fields, layout.upper);
    if (!upper) FailWith(reader.Where(line, layout.upper) + ": no upper speed limit");
    const double previous = climate.upperLimits.empty() ? 0 : climate.upperLimits.back();
    if (!(*upper > previous))
      FailWith(reader.Where(line, layout.upper) + ": the upper limit " +
               std::string(fields[layout.upper]) + " m/s does not exceed the bin below (" +
               ShortestText(previous) + " m/s)");
    if (layout.lower) {
      const auto lower = reader.Number(line, fields, *layout.lower);
      if (!lower || std::fabs(*lower - previous) > 1e-6 * std::max(1.0, previous))
        FailWith(reader.Where(line, *layout.lower) +
                 ": the bin does not start where the one below ends (" + ShortestText(previous) +
                 " m/s)");
    }
    climate.upperLimits.push_back(*upper);
    for (int s = 0; s < sectors; ++s)
      climate.counts[s].push_back(reader.Count(line, fields, layout.sectors[s]));
    ++table.rows;
  }
  if (table.rows == 0) FailWith(path + ": no speed bin rows below the header");
  CheckClimateCapacity(table.rows, sectors, "merge bins of the table");
  if (!(climate.AboveCalm() > 0)) FailWith(path + ": every frequency of the table is 0");
  return table;
}

}  // namespace kavi::tool
