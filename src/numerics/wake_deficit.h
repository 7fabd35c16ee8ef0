// Relative speed reduction in the wake of a two-dimensional obstacle.
#pragma once

namespace kavi::numerics {

// Wake deficit (Perera's form) at distance x (m) behind a solid obstacle of
// height h (m), for a point at height z (m) above ground over roughness z0 (m):
// the relative reduction of the speed that the point would see without the
// obstacle. Requires h > z0 > 0, x >= 0 and z >= 0.
float WakeDeficit(float x, float h, float z, float z0);

}  // namespace kavi::numerics
