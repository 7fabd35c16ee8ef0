// The predicted wind climates of predict drawn as wind roses, one panel per
// site: sector frequency as wedge length, the sector's Weibull A as wedge
// colour and as a number beside the wedge.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "site_outcome.h"

namespace kavi::tool {

// More sites than this are left out of the figure, with a note saying so.
constexpr std::size_t kMostPlottedSites = 12;

// The SVG document of the wind roses of sites (the first kMostPlottedSites of
// them); atlasName names the wind atlas in the figure's title block.
std::string WindRoseSvg(const std::vector<SiteOutcome>& sites, const std::string& atlasName);

}  // namespace kavi::tool
