#include "support/ring_maps.h"

#include <cmath>
#include <sstream>

#include "support/test_files.h"

namespace kavi::test {

namespace {
constexpr int kSegments = 60;
constexpr double kFirstRadius = 200.0;
constexpr double kRingSpacing = 12.0;
constexpr double kTopHeight = 300.0;
constexpr double kSlope = 0.02;
constexpr double kSmoothRoughness = 0.03;
constexpr double kRoughRoughness = 0.1;
// A quarter segment of turn, so that no corner lies on a ray of the grid.
constexpr double kCornerOffset = 0.25;
}  // namespace

void WriteRingMap(const std::string& path, int rings, RingKind kind) {
  const double pi = std::acos(-1.0);
  std::ostringstream map;
  map << "+ " << rings << " concentric rings\n"
      << "no transformation\n"
      << "1 0\n";
  for (int i = 0; i < rings; ++i) {
    const double radius = kFirstRadius + kRingSpacing * i;
    const double height = kTopHeight - kSlope * radius;
    // Counter-clockwise: the left side is the inside.
    const double inside = i % 2 == 0 ? kSmoothRoughness : kRoughRoughness;
    const double outside = i % 2 == 0 ? kRoughRoughness : kSmoothRoughness;
    switch (kind) {
      case RingKind::kHeight:
        map << height << " " << kSegments + 1 << "\n";
        break;
      case RingKind::kRoughness:
        map << inside << " " << outside << " " << kSegments + 1 << "\n";
        break;
      case RingKind::kBoth:
        map << inside << " " << outside << " " << height << " " << kSegments + 1 << "\n";
        break;
    }
    for (int p = 0; p <= kSegments; ++p) {
      const double angle = 2.0 * pi * ((p % kSegments) + kCornerOffset) / kSegments;
      map << radius * std::cos(angle) << " " << radius * std::sin(angle) << "\n";
    }
  }
  WriteText(path, map.str());
}

}  // namespace kavi::test
