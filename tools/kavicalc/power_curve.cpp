#include "power_curve.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "number_text.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr std::size_t kEchoLength = 60;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Echo(const std::string& row) {
  std::string shown;
  for (const char c : row) shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  if (shown.size() > kEchoLength) shown = shown.substr(0, kEchoLength) + "...";
  return shown;
}

[[noreturn]] void BadRow(const std::string& name, int row, const std::string& what,
                         const std::string& text, const std::string& command) {
  throw UsageError("power curve " + name + ": row " + std::to_string(row) + ": " + what +
                       ", got '" + Echo(text) + "'",
                   command);
}

// A row whose fields are both not numbers: the column names.
bool IsHeader(const std::string& first, const std::string& second) {
  const auto isText = [](const std::string& field) {
    return !field.empty() && !ParseNumber(field) &&
           std::any_of(field.begin(), field.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
  };
  return isText(first) && isText(second);
}
}  // namespace

double PowerCurve::RatedPower() const {
  double rated = 0;
  for (const PowerCurvePoint& point : points) rated = std::max(rated, point.power);
  return rated;
}

PowerCurve ReadPowerCurve(std::istream& in, const std::string& name, const std::string& command) {
  PowerCurve curve;
  int row = 0;
  bool first = true;
  for (std::string line; std::getline(in, line);) {
    ++row;
    const std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    const auto comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
      BadRow(name, row, "expected two columns speed,power (m/s, kW), e.g. 12.5,2750", text,
             command);
    const std::string speedText = Trim(text.substr(0, comma));
    const std::string powerText = Trim(text.substr(comma + 1));
    const bool header = first && IsHeader(speedText, powerText);
    first = false;
    if (header) continue;
    const auto speed = ParseNumber(speedText);
    const auto power = ParseNumber(powerText);
    if (!speed || !power)
      BadRow(name, row, "expected numbers speed,power (m/s, kW), e.g. 12.5,2750", text, command);
    if (*speed < 0) BadRow(name, row, "a wind speed must not be negative", text, command);
    if (*power < 0) BadRow(name, row, "a power must not be negative", text, command);
    if (!curve.points.empty() && *speed <= curve.points.back().speed)
      BadRow(name, row,
             "the wind speeds must increase from row to row (previous " +
                 ShortestText(curve.points.back().speed) + " m/s)",
             text, command);
    curve.points.push_back({*speed, *power});
  }
  if (in.bad()) throw UsageError("could not read the power curve " + name, command);
  if (curve.points.size() < 2)
    throw UsageError("power curve " + name + ": expected at least two rows speed,power (m/s, kW)",
                     command);
  return curve;
}

PowerCurve ReadPowerCurve(const std::string& path, const std::string& command) {
  std::ifstream in(path);
  if (!in) throw UsageError("cannot open the power curve " + path, command);
  return ReadPowerCurve(in, path, command);
}

PowerCurve AtAirDensity(const PowerCurve& curve, double rho) {
  const double factor = std::cbrt(kStandardAirDensity / rho);
  PowerCurve scaled = curve;
  for (PowerCurvePoint& point : scaled.points) point.speed *= factor;
  return scaled;
}

}  // namespace kavi::tool
