// Maps of many concentric closed rings around the origin, for calculations
// whose ray/line crossings exceed what fits in memory (50,000) and spill to
// the scratch work file. Every ring is crossed once by every ray of the
// zooming grid and by every sub-ray of the roughness rose, so the counts are
// known in advance: rays x rings.
#pragma once

#include <string>

namespace kavi::test {

enum class RingKind {
  kHeight,     // height contours only: the zooming grid spills
  kRoughness,  // roughness-change lines only: the roughness rose spills
  kBoth,       // lines that are both: both spill
};

// The zooming grid has 72 rays with the default ray spacing of 5 degrees, the
// roughness rose 12 x 9 sub-rays with the default 12 sectors; 720 rings give
// 51,840 and 77,760 crossings.
constexpr int kSpillingRings = 720;

// Rings of radius 200 m + 12 m per ring, drawn counter-clockwise with 60
// segments; heights fall by 2 m per 100 m outward from 300 m, roughness
// alternates between 0.03 and 0.1 m from ring to ring.
void WriteRingMap(const std::string& path, int rings, RingKind kind);

}  // namespace kavi::test
