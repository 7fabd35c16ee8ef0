// The sites file of predict: CSV rows "x,y[,height]", or rows in the order of
// a header row naming the columns (x or easting, y or northing, height or
// hub_height, name; any order and letter case); blank lines and '#' comments
// ignored.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace kavi::tool {

struct SiteSpec {
  double x;
  double y;
  std::optional<double> height;  // overrides --height when given
  std::string name;              // empty when the file has no name column
};

// Reads the sites; a file that cannot be read or a bad row is a usage error
// naming the file, the row (its line number) and what was expected.
std::vector<SiteSpec> ReadSiteList(const std::string& path, const std::string& command);
std::vector<SiteSpec> ReadSiteList(std::istream& in, const std::string& name,
                                   const std::string& command);

}  // namespace kavi::tool
