#include "model/sector_count.h"

namespace kavi::model {

void CSectorCount::AdoptSectorCount(int n) {
  nsec_ = n;
  core().parameters[0] = static_cast<float>(n);
  core().sectorCount = n;
}

void CSectorCount::SectorCountFromParameters() {
  const float element = core().Parameter(1);
  // Truncation toward zero of an element that a host cannot set; clamp what
  // cannot be represented rather than invoke undefined behaviour.
  nsec_ = (element >= 1.0f && element <= 36.0f) ? static_cast<int>(element) : 12;
  core().sectorCount = nsec_;
}

}  // namespace kavi::model
