// What climate tells the user about the data and the climate made from them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "binned_climate.h"
#include "observed_climate_file.h"

namespace kavi::tool {

struct ClimateSummary {
  std::string input;       // the file read
  bool fromTable = false;  // a frequency table rather than a series
  std::string out;         // the climate file written
  StationHeader station;
  std::string heightSource;  // "--height" or the column that names it
  std::string speedColumn;   // series only
  std::string directionColumn;
  std::int64_t read = 0;  // records (series) or counted observations (table)
  std::int64_t outsidePeriod = 0;
  std::int64_t missing = 0;
  std::int64_t outOfRange = 0;
  std::int64_t used = 0;
  double calms = 0;
  double calmLimit = 0;            // m/s
  std::optional<double> recovery;  // percent of the records in the period
  std::string firstTime;           // of the records used, when a time column was given
  std::string lastTime;
  int sectors = 0;
  std::vector<double> upperLimits;  // of the bins that hold data
  std::vector<double> frequencies;  // per sector, percent
  ClimateStatistics statistics;
  std::string weibullFit;  // which fit the A and k are

  double CalmShare() const { return used > 0 ? 100 * calms / static_cast<double>(used) : 0; }
};

}  // namespace kavi::tool
