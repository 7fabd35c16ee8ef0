// Measured wind series from delimited text: a header row, then one record
// per line with a speed and a direction column (and optionally a time
// column). Missing and implausible values are dropped and counted; anything
// else that is not a number is an error naming file, line and column.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavi::tool {

// Values beyond these are dropped as out of range.
constexpr double kHighestPlausibleSpeed = 100;  // m/s
constexpr double kFullCircle = 360;             // degrees

struct SeriesOptions {
  std::string path;
  std::string speedColumn;  // by name, or by 1-based number
  std::string directionColumn;
  std::optional<std::string> timeColumn;
  int skipRows = 0;                  // rows above the header
  std::vector<std::string> missing;  // markers besides empty, NA and NaN
  std::optional<std::int64_t> from;  // records at or after, when set
  std::optional<std::int64_t> to;    // records before, when set
};

struct WindSample {
  double speed;      // m/s
  double direction;  // degrees the wind comes from, clockwise from north
};

struct SeriesRecords {
  std::vector<WindSample> samples;  // the records used, in file order
  std::int64_t read = 0;            // data records in the file
  std::int64_t outsidePeriod = 0;   // of read: outside --from … --to
  std::int64_t missing = 0;         // of the rest: speed or direction missing
  std::int64_t outOfRange = 0;      // of the rest: speed or direction implausible
  std::string speedName;            // the header names of the columns used
  std::string directionName;
  std::string firstTime;  // time stamps of the first and last record used, as written
  std::string lastTime;
};

// Reads the series; CallFailure with a message naming the file (and the line
// and column where there is one) when the file cannot be used: empty, no
// header, no such column, a text in a number column, a line cut short, no
// usable record, a speed or direction column without any value.
SeriesRecords ReadSeries(const SeriesOptions& options);

// The measurement height a column name states ("ws_80m", "Speed 10 m"), if any.
std::optional<double> HeightNamedBy(std::string_view columnName);

}  // namespace kavi::tool
