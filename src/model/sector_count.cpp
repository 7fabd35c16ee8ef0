#include "model/sector_count.h"

#include "numerics/parameter_elements.h"

namespace kavi::model {

void CSectorCount::AdoptSectorCount(int n) {
  nsec_ = n;
  core().parameters[numerics::kSectorCountElement - 1] = static_cast<float>(n);
  core().sectorCount = n;
}

void CSectorCount::SectorCountFromParameters() {
  const float element = core().Parameter(numerics::kSectorCountElement);
  // Truncation toward zero of an element that a host cannot set; clamp what
  // cannot be represented rather than invoke undefined behaviour.
  nsec_ = (element >= 1.0f && element <= 36.0f) ? static_cast<int>(element) : 12;
  core().sectorCount = nsec_;
}

}  // namespace kavi::model
