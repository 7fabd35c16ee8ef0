// A turbine's power curve: electrical power in kW at tabulated wind speeds in
// m/s, linear in between and zero below the first and above the last speed.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace kavi::tool {

struct PowerCurvePoint {
  double speed;  // m/s
  double power;  // kW
};

struct PowerCurve {
  std::vector<PowerCurvePoint> points;  // speeds strictly increasing, at least two

  // The largest tabulated power, kW: the rated power that the capacity
  // factor refers to.
  double RatedPower() const;
};

// Air density of the standard atmosphere at sea level that power curves
// refer to, kg/m³.
constexpr double kStandardAirDensity = 1.225;

// Reads CSV rows "speed,power" (m/s, kW) with an optional header row of text.
// Speeds must increase strictly and powers be finite and not negative, with
// at least two rows; a file that cannot be read or a bad row is a usage error
// naming the file and the row.
PowerCurve ReadPowerCurve(const std::string& path, const std::string& command);
PowerCurve ReadPowerCurve(std::istream& in, const std::string& name, const std::string& command);

// The curve of a pitch-regulated turbine at air density rho: the same powers
// at speeds multiplied by (1.225 / rho)^(1/3), so that the wind carries the
// same kinetic power flux as at the tabulated speed in standard air.
PowerCurve AtAirDensity(const PowerCurve& curve, double rho);

}  // namespace kavi::tool
