// The zooming grid of the site and its orographic spectrum.
#pragma once

#include "model/site_effects.h"
#include "model/vemo_map.h"

namespace kavi::model {

class CZoomingGrid : public virtual CVemoMap, public virtual CSiteEffects {
 public:
  // Builds the polar grid around the site, keeps the site elevation, then the
  // spectrum of the grid.
  void CreateFromSite();
  float siteElevation() const { return elevation_; }

 protected:
  float elevation_ = 0;
};

}  // namespace kavi::model
