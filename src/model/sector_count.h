// The sector count shared by every part of a model object.
#pragma once

#include "model/numerical_core.h"

namespace kavi::model {

class CSectorCount : public virtual CNumericalCore {
 public:
  int sectorCount() const { return nsec_; }
  // Sector count of the object and of the numerical core, and element 1 of the
  // parameter vector, all set to n.
  void AdoptSectorCount(int n);

 protected:
  // Sector count := element 1 truncated; the core's count follows.
  void SectorCountFromParameters();

  int nsec_ = 12;
};

}  // namespace kavi::model
