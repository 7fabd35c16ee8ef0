// The site of the calculation and its site effect table.
#pragma once

#include "model/sector_count.h"
#include "numerics/calculation_arrays.h"

namespace kavi::model {

class CSiteEffects : public virtual CSectorCount {
 public:
  const numerics::SiteEffectTable& siteEffects() const { return effects_; }
  void SetSite(float x, float y, float heightAboveGround);
  void SetSitePosition(float x, float y);

 protected:
  // All four slots: speed factor 1, turning 0.
  void ResetSiteEffects();
  // Slots 3 and 4 only.
  void ResetShelterAndRoughnessSlots();

  numerics::SiteEffectTable effects_;
  float siteHeight_ = 0;
  float siteX_ = 0;
  float siteY_ = 0;
};

}  // namespace kavi::model
