// The site model: orography and roughness changes into the site effect table.
#pragma once

#include "model/roughness_rose.h"
#include "model/zooming_grid.h"

namespace kavi::model {

class CSiteModel : public CZoomingGrid, public virtual CRoughnessRose {
 public:
  // Grid and spectrum, the rose from the map unless a file gave it, then
  // slots 2 and 4 of the site effect table.
  void Calculate();

 protected:
  // Slots 3 and 4, the grid constants and the roughness rose.
  void ResetSiteModel();
};

}  // namespace kavi::model
