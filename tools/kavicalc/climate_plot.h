// The observed wind climate as one SVG picture: a wind rose of the sector
// frequencies with the speed classes stacked in each wedge (north up,
// clockwise), and the histogram of the speeds with the fitted Weibull density.
#pragma once

#include <string>

#include "binned_climate.h"
#include "climate_summary.h"

namespace kavi::tool {

std::string ClimateSvg(const ClimateSummary& summary, const BinnedClimate& climate);

}  // namespace kavi::tool
