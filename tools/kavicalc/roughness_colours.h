// The colours of roughness lengths in the map plot: water (z0 = 0) blue, land
// on a ramp from yellow (smooth) through orange and red to purple (rough),
// spread by the logarithm of z0 over the values the map holds, so that
// neighbouring classes stay apart.
#pragma once

#include <set>
#include <string>

namespace kavi::tool {

class RoughnessColours {
 public:
  // The scale of the roughness lengths present (z0 in m, none negative).
  explicit RoughnessColours(const std::set<float>& present);

  // "#rrggbb" of a roughness length.
  std::string Of(double z0) const;

 private:
  double lowLog_ = 0;   // log10 of the smallest z0 above 0
  double highLog_ = 0;  // log10 of the largest
};

}  // namespace kavi::tool
