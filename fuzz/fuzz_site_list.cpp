// Fuzz target of the tool's site list reader: every input gives sites with
// coordinates and heights single precision holds, or a usage error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>

#include "site_list.h"
#include "usage_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    for (const kavi::tool::SiteSpec& site : kavi::tool::ReadSiteList(in, "sites.csv", "predict")) {
      const double largest = std::numeric_limits<float>::max();
      if (!(std::fabs(site.x) <= largest && std::fabs(site.y) <= largest)) std::abort();
      if (site.height && !(*site.height > 0 && *site.height <= largest)) std::abort();
    }
  } catch (const kavi::tool::UsageError&) {
  }
  return 0;
}
