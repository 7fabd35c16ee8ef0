#include "model/zooming_grid.h"

#include "model/check_status.h"
#include "numerics/orographic_terms.h"
#include "numerics/zooming_grid.h"

namespace kavi::model {

void CZoomingGrid::CreateFromSite() {
  elevation_ = numerics::BuildZoomingGrid(core(), storage(), {siteX_, siteY_});
  CheckStatus(core(), "CZoomingGrid");
  // The spectrum writes no debugging output.
  numerics::GridSpectrum(core(), core().sectorCount);
  CheckStatus(core(), "CZoomingGrid::CreateFromSite");
}

}  // namespace kavi::model
