// --power-curve FILE.csv and --air-density KG/M3, shared by predict and grid.
#pragma once

#include <optional>

#include "option_parser.h"
#include "power_curve.h"

namespace kavi::tool {

// The power curve at the given air density, or none without --power-curve;
// --air-density without --power-curve, or a density that is not a number
// from 0.5 to 1.5 kg/m³, is a usage error.
std::optional<PowerCurve> ReadEnergyOptions(const ParsedOptions& options);

}  // namespace kavi::tool
