// Synthetic map files for benchmarks: a few Gaussian hills drawn as height
// contours, rings of roughness change around the origin and a lake shore that
// is both, in the map text format with Cartesian coordinates, no
// transformation and height scale 1.
#pragma once

#include <string>

namespace kavi::bench {

// Map text whose lines use exactly `entries` entries in total (3 header
// entries plus one per point each; at least 5) when `entries` >= 5, else an
// empty map. The same seed always gives the same text.
std::string SyntheticMapText(int entries, unsigned seed);

// Writes SyntheticMapText(entries, seed) to `path`. False when the file cannot
// be written.
bool WriteSyntheticMap(const std::string& path, int entries, unsigned seed);

}  // namespace kavi::bench
