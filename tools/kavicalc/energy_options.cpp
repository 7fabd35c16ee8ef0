#include "energy_options.h"

#include "file_options.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
// Air at the turbine: from high mountains to cold sea level, with room.
constexpr double kMinimumAirDensity = 0.5;
constexpr double kMaximumAirDensity = 1.5;
}  // namespace

std::optional<PowerCurve> ReadEnergyOptions(const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string* curveFile = OptionalFile(options, "--power-curve");
  const std::string* densityText = options.Find("--air-density");
  if (!curveFile) {
    if (densityText) throw UsageError("--air-density needs --power-curve FILE.csv", command);
    return std::nullopt;
  }
  const PowerCurve curve = ReadPowerCurve(*curveFile, command);
  if (!densityText) return curve;
  const auto density = ParseNumber(*densityText);
  if (!density || *density < kMinimumAirDensity || *density > kMaximumAirDensity)
    throw UsageError(
        "--air-density expects the air density at the turbine in kg/m³ from 0.5 to 1.5, e.g. "
        "--air-density 1.18 (got '" +
            *densityText + "')",
        command);
  return AtAirDensity(curve, *density);
}

}  // namespace kavi::tool
