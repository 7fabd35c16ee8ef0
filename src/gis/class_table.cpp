#include "gis/class_table.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "gis/gdal_support.h"

namespace kavi::gis {

namespace {
std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(Trimmed(field));
  return fields;
}

bool ParseReal(const std::string& text, double& value) {
  if (text.empty()) return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         std::isfinite(value);
}
}  // namespace

std::string ClassKey(const std::string& value) {
  const std::string text = Trimmed(value);
  double number = 0;
  if (ParseReal(text, number) && number == std::floor(number) && std::abs(number) < 1e15)
    return std::to_string(static_cast<long long>(number));
  return text;
}

ClassTable ReadClassTable(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw GisError("cannot open the class table " + path);
  ClassTable table;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string text = Trimmed(line);
    if (text.empty() || text[0] == '#') continue;
    const std::vector<std::string> fields = Fields(text);
    const std::string where = path + " line " + std::to_string(number);
    if (table.empty() && fields.size() >= 2 && fields[0] == "class" && fields[1] == "z0") continue;
    if (fields.size() < 2 || fields[0].empty())
      throw GisError(where + ": expected class,z0[,name], e.g. 93,0.05,agriculture");
    double z0 = 0;
    if (!ParseReal(fields[1], z0))
      throw GisError(where + ": the z0 '" + fields[1] + "' is not a number");
    if (z0 < 0) throw GisError(where + ": the z0 " + fields[1] + " is negative");
    const std::string key = ClassKey(fields[0]);
    if (!table.emplace(key, LandCoverClass{z0, fields.size() > 2 ? fields[2] : ""}).second)
      throw GisError(where + ": class " + key + " is given twice");
  }
  if (table.empty()) throw GisError("the class table " + path + " holds no class");
  return table;
}

}  // namespace kavi::gis
