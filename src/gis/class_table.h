// A land-cover class table: CSV rows "class,z0[,name]" giving the roughness
// length in metres of each class (water is 0). An optional first row names
// the columns; blank lines and lines starting with '#' are skipped.
#pragma once

#include <map>
#include <string>

namespace kavi::gis {

struct LandCoverClass {
  double z0 = 0.0;
  std::string name;
};

using ClassTable = std::map<std::string, LandCoverClass>;

// GisError naming the file and line of a bad row: a class given twice, a z0
// that is not a number or is negative, too few columns.
ClassTable ReadClassTable(const std::string& path);

// The class a value of a field or a raster cell stands for: surrounding
// blanks dropped, and whole numbers written without decimals ("93.0" is
// "93"), so that rasters and text fields meet the same table rows.
std::string ClassKey(const std::string& value);

}  // namespace kavi::gis
