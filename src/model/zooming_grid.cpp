#include "model/zooming_grid.h"

#include "model/check_status.h"
#include "model/exceptions.h"

namespace kavi::model {

void CZoomingGrid::CreateFromSite() {
  throw NotImplemented("CZoomingGrid::CreateFromSite (zooming grid)");
}

}  // namespace kavi::model
