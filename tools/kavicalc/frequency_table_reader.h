// A ready joint frequency table in delimited text: a header row, then one row
// per speed bin and one column per direction sector, and optionally a calm
// row. The first column, or the one whose name says "upper", holds the
// bins' upper speed limits; a column whose name says "lower" holds their
// lower limits (checked to follow on); every other column is a sector, from
// north clockwise. A row whose first field begins with "calm" gives the
// number of calms (the sum of its sector fields).
#pragma once

#include <string>

#include "binned_climate.h"

namespace kavi::tool {

struct FrequencyTable {
  BinnedClimate climate;
  std::vector<std::string> sectorNames;  // the header names of the sector columns
  int rows = 0;                          // bin rows read
};

// skipRows rows above the header are passed over. CallFailure naming the file,
// line and column of what cannot be used.
FrequencyTable ReadFrequencyTable(const std::string& path, int skipRows);

}  // namespace kavi::tool
