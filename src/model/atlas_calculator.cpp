#include "model/atlas_calculator.h"

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/numerical_state.h"

namespace kavi::model {

void CAtlasCalculator::Reset() {
  numerics::State().atlasControl = 50;
  SectorCountFromParameters();
  ResetSiteEffects();
  ResetSiteModel();
  atlas_.Reset();
}

void CAtlasCalculator::Calculate() {
  // Without an observed climate there is nothing to generalise.
  if (!histogram_.loaded())
    throw RuntimeError("CAtlasCalculator", "No observed wind climate loaded");
  CSiteModel::Calculate();
  CShelterModel::Calculate();
  throw NotImplemented("atlas calculation");
}

}  // namespace kavi::model
