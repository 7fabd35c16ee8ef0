#include "model/zooming_grid.h"

#include "model/check_status.h"
#include "numerics/orographic_terms.h"
#include "numerics/numerical_state.h"
#include "numerics/zooming_grid.h"

namespace kavi::model {

void CZoomingGrid::CreateFromSite() {
  numerics::BuildZoomingGrid(mapX_.data(), mapY_.data(), lineCount_, siteX_, siteY_, elevation_,
                             1.0f, mapCapacity());
  CheckStatus("CZoomingGrid");
  // The spectrum writes no debugging output.
  numerics::GridSpectrum(numerics::State().sectorCount);
  CheckStatus("CZoomingGrid::CreateFromSite");
}

}  // namespace kavi::model
