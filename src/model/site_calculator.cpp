#include "model/site_calculator.h"

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/site_prediction.h"

namespace kavi::model {

void CSiteCalculator::Reset() {
  SectorCountFromParameters();
  ResetSiteEffects();
  ResetSiteModel();
}

void CSiteCalculator::WriteRoughnessRose(const std::string& file, int n) {
  AdoptSectorCount(n);
  CRoughnessRose::CreateFromSite();
  CRoughnessRose::Save(file);
}

void CSiteCalculator::Predict() {
  CSiteModel::Calculate();
  CShelterModel::Calculate();
  PredictedClimate& p = predicted_;
  numerics::PredictSiteClimate(core(), atlas_.tables(), nsec_, effects_, siteHeight_, rose_,
                               p.weibullA, p.weibullK, p.frequency, p.totalA, p.totalK);
  predictedFlag_ = true;
}

}  // namespace kavi::model
