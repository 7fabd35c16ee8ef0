#include "series_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <regex>

#include "call_failure.h"
#include "delimited_text.h"
#include "time_stamp.h"

namespace kavi::tool {

namespace {
// Names listed in a message about a column that does not exist.
constexpr std::size_t kListedColumns = 12;

[[noreturn]] void FailWith(const std::string& message) { Fail(E_FAIL, message); }

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// A number written as plain decimal text; a decimal comma is taken where the
// comma is not the field delimiter.
std::optional<double> DecimalNumber(std::string_view text, char delimiter) {
  std::string swapped;
  if (delimiter != ',' && text.find(',') != std::string_view::npos &&
      text.find('.') == std::string_view::npos) {
    swapped.assign(text);
    std::replace(swapped.begin(), swapped.end(), ',', '.');
    text = swapped;
  }
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) ||
                        text.front() == '-' || text.front() == '.'))
    return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// What counts as a missing value: empty fields, NA, NaN and the user's own
// markers, compared as numbers when they are numbers ("-999" is "-999.0").
class MissingMarkers {
 public:
  explicit MissingMarkers(const std::vector<std::string>& markers) {
    for (const std::string& marker : markers) {
      if (const auto number = DecimalNumber(marker, ';')) {
        numbers_.push_back(*number);
      } else {
        texts_.push_back(marker);
      }
    }
  }
  bool Text(std::string_view field) const {
    if (field.empty() || SameTextIgnoringCase(field, "NA") || SameTextIgnoringCase(field, "NaN"))
      return true;
    return std::find(texts_.begin(), texts_.end(), field) != texts_.end();
  }
  bool Number(double value) const {
    return std::find(numbers_.begin(), numbers_.end(), value) != numbers_.end();
  }

 private:
  std::vector<double> numbers_;
  std::vector<std::string> texts_;
};

struct Column {
  std::size_t index;  // from 0
  std::string name;
};

std::string ColumnList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < kListedColumns; ++i)
    list += (i ? ", '" : "'") + names[i] + "'";
  if (names.size() > kListedColumns)
    list += " and " + std::to_string(names.size() - kListedColumns) + " more";
  return list;
}

// A column by its header name (exact, else ignoring case), else by its
// number from 1.
Column FindColumn(const std::vector<std::string>& names, const std::string& wanted,
                  const std::string& option, const std::string& path, std::size_t headerLine) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == wanted) return {i, names[i]};
  for (std::size_t i = 0; i < names.size(); ++i)
    if (SameTextIgnoringCase(names[i], wanted)) return {i, names[i]};
  const bool number = !wanted.empty() && std::all_of(wanted.begin(), wanted.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
  if (number) {
    std::size_t index = 0;
    std::from_chars(wanted.data(), wanted.data() + wanted.size(), index);
    if (index >= 1 && index <= names.size()) return {index - 1, names[index - 1]};
    FailWith(path + ", line " + std::to_string(headerLine) + ": " + option + " " + wanted +
             ": the header has columns 1 to " + std::to_string(names.size()));
  }
  FailWith(path + ", line " + std::to_string(headerLine) + ": " + option + ": no column '" +
           wanted + "'; the columns are " + ColumnList(names));
}

std::string Where(const std::string& path, std::size_t line, const Column& column) {
  return path + ", line " + std::to_string(line) + ", column " + std::to_string(column.index + 1) +
         " (" + column.name + ")";
}

// What became of one number field.
enum class Field { Value, Missing };

class RecordReader {
 public:
  RecordReader(const SeriesOptions& options, char delimiter)
      : options_(options), delimiter_(delimiter), markers_(options.missing) {}

  // The field of column on line, or an error when the line is too short.
  std::string_view FieldOf(const TextLine& line, const std::vector<std::string_view>& fields,
                           const Column& column) const {
    if (column.index < fields.size()) return fields[column.index];
    if (!line.ended)
      FailWith(Where(options_.path, line.number, column) +
               ": the file ends in the middle of this line");
    FailWith(Where(options_.path, line.number, column) + ": the line has only " +
             std::to_string(fields.size()) + " fields");
  }

  Field Number(std::string_view text, const TextLine& line, const Column& column,
               double& value) const {
    if (markers_.Text(text)) return Field::Missing;
    const auto number = DecimalNumber(text, delimiter_);
    if (!number)
      FailWith(Where(options_.path, line.number, column) + ": '" + std::string(text) +
               "' is not a number (nor a missing-value marker)");
    if (markers_.Number(*number)) return Field::Missing;
    value = *number;
    return Field::Value;
  }

 private:
  const SeriesOptions& options_;
  char delimiter_;
  MissingMarkers markers_;
};

bool Plausible(const WindSample& s) {
  return s.speed >= 0 && s.speed <= kHighestPlausibleSpeed && s.direction >= 0 &&
         s.direction <= kFullCircle;
}
}  // namespace

SeriesRecords ReadSeries(const SeriesOptions& options) {
  const DelimitedText text(options.path);
  const std::vector<TextLine>& lines = text.lines();
  const auto blank = [](const TextLine& line) {
    return line.text.find_first_not_of(" \t") == std::string_view::npos;
  };
  if (std::all_of(lines.begin(), lines.end(), blank)) FailWith(options.path + " is empty");
  const std::size_t headerIndex = static_cast<std::size_t>(options.skipRows);
  if (headerIndex >= lines.size())
    FailWith(options.path + ": no header row after the " + std::to_string(options.skipRows) +
             " rows skipped (the file has " + std::to_string(lines.size()) + " lines)");

  const TextLine& header = lines[headerIndex];
  const char delimiter = FindDelimiter(header.text);
  std::vector<std::string_view> fields;
  SplitFields(header.text, delimiter, fields);
  std::vector<std::string> names;
  for (const std::string_view field : fields) names.push_back(Unquoted(field));
  const Column speed =
      FindColumn(names, options.speedColumn, "--speed", options.path, header.number);
  const Column direction =
      FindColumn(names, options.directionColumn, "--direction", options.path, header.number);
  std::optional<Column> time;
  if (options.timeColumn)
    time = FindColumn(names, *options.timeColumn, "--time", options.path, header.number);

  SeriesRecords records;
  records.speedName = speed.name;
  records.directionName = direction.name;
  const RecordReader reader(options, delimiter);
  std::int64_t speedValues = 0;
  std::int64_t directionValues = 0;
  std::string_view firstStamp;
  std::string_view lastStamp;
  for (std::size_t i = headerIndex + 1; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    if (blank(line)) continue;
    SplitFields(line.text, delimiter, fields);
    ++records.read;
    std::string_view stamp;
    if (time) {
      stamp = reader.FieldOf(line, fields, *time);
      if (options.from || options.to) {
        const auto seconds = ParseTimeStamp(Unquoted(stamp));
        if (!seconds)
          FailWith(Where(options.path, line.number, *time) + ": '" + std::string(stamp) +
                   "' is not a time stamp such as 2024-03-01 12:00 or 03/01/2024 12:00");
        if ((options.from && *seconds < *options.from) || (options.to && *seconds >= *options.to)) {
          ++records.outsidePeriod;
          continue;
        }
      }
    }
    WindSample sample{0, 0};
    const Field s = reader.Number(reader.FieldOf(line, fields, speed), line, speed, sample.speed);
    const Field d =
        reader.Number(reader.FieldOf(line, fields, direction), line, direction, sample.direction);
    speedValues += s == Field::Value;
    directionValues += d == Field::Value;
    if (s == Field::Missing || d == Field::Missing) {
      ++records.missing;
    } else if (!Plausible(sample)) {
      ++records.outOfRange;
    } else {
      if (records.samples.empty()) firstStamp = stamp;
      lastStamp = stamp;
      records.samples.push_back(sample);
    }
  }

  records.firstTime = Unquoted(firstStamp);
  records.lastTime = Unquoted(lastStamp);
  const std::int64_t considered = records.read - records.outsidePeriod;
  if (considered > 0 && speedValues == 0)
    FailWith(options.path + ": the speed column '" + speed.name +
             "' holds no value in any of the " + std::to_string(considered) + " records");
  if (considered > 0 && directionValues == 0)
    FailWith(options.path + ": the direction column '" + direction.name +
             "' holds no value in any of the " + std::to_string(considered) + " records");
  if (records.samples.empty())
    FailWith(options.path + ": no usable record: " + std::to_string(records.read) +
             " records read, " + std::to_string(records.outsidePeriod) + " outside the period, " +
             std::to_string(records.missing) + " missing, " + std::to_string(records.outOfRange) +
             " out of range");
  return records;
}

std::optional<double> HeightNamedBy(std::string_view columnName) {
  // A number directly followed by "m" (a blank between allowed) that is not "m/s".
  static const std::regex pattern(R"((^|[^0-9.])([0-9]+(\.[0-9]+)?) ?m($|[^a-zA-Z/]))");
  std::cmatch match;
  const std::string name(columnName);
  if (!std::regex_search(name.c_str(), match, pattern)) return std::nullopt;
  const auto height = DecimalNumber(match[2].str(), ',');
  if (!height || *height <= 0) return std::nullopt;
  return height;
}

}  // namespace kavi::tool
