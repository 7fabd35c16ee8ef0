#include "model/sector_count.h"

#include "numerics/numerical_state.h"

namespace kavi::model {

void CSectorCount::AdoptSectorCount(int n) {
  nsec_ = n;
  numerics::State().parameters[0] = static_cast<float>(n);
  numerics::State().sectorCount = n;
}

void CSectorCount::SectorCountFromParameters() {
  const float element = numerics::Parameter(1);
  // Truncation toward zero of an element that a host cannot set; clamp what
  // cannot be represented rather than invoke undefined behaviour.
  nsec_ = (element >= 1.0f && element <= 36.0f) ? static_cast<int>(element) : 12;
  numerics::State().sectorCount = nsec_;
}

}  // namespace kavi::model
