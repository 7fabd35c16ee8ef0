// What the roughness of a map's lines must look like before the map is used.
#pragma once

namespace kavi::numerics {

constexpr float kMaxMapRoughness = 10.0f;  // m; tall forest and city centres stay below it

// True when a roughness length on either side of a roughness-change line is
// one a surface can have: 0 (water) … 10 m.
bool MapRoughnessIsPlausible(float z0);

}  // namespace kavi::numerics
