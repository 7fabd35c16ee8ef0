#include "model/site_effects.h"

#include <initializer_list>

namespace kavi::model {

void CSiteEffects::SetSite(float x, float y, float heightAboveGround) {
  siteX_ = x;
  siteY_ = y;
  siteHeight_ = heightAboveGround;
}

void CSiteEffects::SetSitePosition(float x, float y) {
  siteX_ = x;
  siteY_ = y;
}

void CSiteEffects::ResetSiteEffects() {
  for (int i = 0; i < numerics::kEffectSlots * nsec_; ++i) {
    effects_.speedFactor[i] = 1.0f;
    effects_.turning[i] = 0.0f;
  }
}

void CSiteEffects::ResetShelterAndRoughnessSlots() {
  for (int slot : {3, 4}) {
    for (int i = 0; i < nsec_; ++i) {
      effects_.speedFactor[numerics::EffectIndex(slot, i, nsec_)] = 1.0f;
      effects_.turning[numerics::EffectIndex(slot, i, nsec_)] = 0.0f;
    }
  }
}

}  // namespace kavi::model
