#include "model/atlas_calculator.h"

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/atlas_calculation.h"

namespace kavi::model {

void CAtlasCalculator::Reset() {
  core().atlasControl = 50;
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
  // The atlas keeps the class and height counts of its reset; the sector count
  // is the calculation's.
  numerics::CalculateAtlas(core(), histogram_.climate(), {siteHeight_, effects_, rose_}, nsec_,
                           atlas_.tables());
  CheckStatus(core(), "CAtlasCalculator");
  calculated_ = true;
}

}  // namespace kavi::model
