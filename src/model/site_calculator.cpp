#include "model/site_calculator.h"

#include "model/check_status.h"
#include "model/exceptions.h"

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
  throw NotImplemented("prediction at the site");
}

}  // namespace kavi::model
