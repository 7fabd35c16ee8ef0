#include "model/site_model.h"

#include "model/check_status.h"
#include "numerics/site_model.h"

namespace kavi::model {

void CSiteModel::ResetSiteModel() {
  ResetShelterAndRoughnessSlots();
  core().LoadGridConstants();
  ResetRose();
}

void CSiteModel::Calculate() {
  CZoomingGrid::CreateFromSite();
  if (!roseLoaded_) CRoughnessRose::CreateFromSite();  // a rose from a file takes precedence
  numerics::SiteEffects(core(), siteHeight_, rose_, effects_);
  CheckStatus(core(), "CSiteModel::Calculate");
}

}  // namespace kavi::model
