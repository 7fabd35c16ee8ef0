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
  numerics::PredictSiteClimate(core(), atlas_.tables(), nsec_, {siteHeight_, effects_, rose_},
                               predicted_);
  predictedFlag_ = true;
}

}  // namespace kavi::model
