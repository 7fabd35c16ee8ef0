// The predicted wind climates of predict drawn as wind roses, one panel per
// site: sector frequency as wedge length, the sector's Weibull A as wedge
// colour and as a number beside the wedge.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "site_outcome.h"

namespace kavi::tool {

// Sites per page; more sites make more pages.
constexpr std::size_t kSitesPerPage = 12;

// The range of the Weibull A colour scale, the same in every figure unless
// asked otherwise, so that figures compare.
struct SpeedScale {
  double lower = 0;   // m/s
  double upper = 20;  // m/s
};

// The SVG documents of the wind roses of all sites, kSitesPerPage to a page
// (at least one page), all on the same scales; atlasName names the wind atlas
// in each page's title block.
std::vector<std::string> WindRoseSvgPages(const std::vector<SiteOutcome>& sites,
                                          const std::string& atlasName, const SpeedScale& scale);

}  // namespace kavi::tool
