#include "model/zooming_grid.h"

#include "model/check_status.h"
#include "numerics/orographic_terms.h"
#include "numerics/zooming_grid.h"

namespace kavi::model {

void CZoomingGrid::CreateFromSite() {
  numerics::BuildZoomingGrid(core(), mapX_.data(), mapY_.data(), lineCount_, siteX_, siteY_,
                             elevation_, mapCapacity());
  CheckStatus(core(), "CZoomingGrid");
  // The spectrum writes no debugging output.
  numerics::GridSpectrum(core(), core().sectorCount);
  CheckStatus(core(), "CZoomingGrid::CreateFromSite");
}

}  // namespace kavi::model
