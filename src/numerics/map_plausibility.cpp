#include "numerics/map_plausibility.h"

namespace kavi::numerics {

bool MapRoughnessIsPlausible(float z0) { return z0 >= 0.0f && z0 <= kMaxMapRoughness; }

}  // namespace kavi::numerics
