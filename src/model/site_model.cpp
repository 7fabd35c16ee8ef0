#include "model/site_model.h"

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/numerical_state.h"

namespace kavi::model {

void CSiteModel::ResetSiteModel() {
  ResetShelterAndRoughnessSlots();
  numerics::LoadGridConstants();
  ResetRose();
}

void CSiteModel::Calculate() {
  CZoomingGrid::CreateFromSite();
  if (!roseLoaded_) CRoughnessRose::CreateFromSite();
  throw NotImplemented("CSiteModel::Calculate (site model)");
}

}  // namespace kavi::model
