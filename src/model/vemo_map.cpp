#include "model/vemo_map.h"

#include "model/check_status.h"
#include "model/edition.h"
#include "model/exceptions.h"
#include "numerics/map_input.h"

namespace kavi::model {

CVemoMap::CVemoMap()
    : mapX_(static_cast<std::size_t>(CurrentEdition().mapCapacity)),
      mapY_(static_cast<std::size_t>(CurrentEdition().mapCapacity)) {}

void CVemoMap::Load(const std::string& file) {
  mapLoaded_ = false;
  lineCount_ = 0;
  entryCount_ = 0;
  int kind = 0;
  numerics::MapInput(mapX_.data(), mapY_.data(), lineCount_, entryCount_, file.c_str(),
                     static_cast<int>(file.size()), kind, mapCapacity());
  CheckStatus("CVemoMap::Load");
  if (kind < numerics::kMapHeightsOnly || kind > numerics::kMapHeightsAndRoughness)
    throw LogicError("CVemoMap::Load", "MINPUT returned bad value");
  mapLoaded_ = true;
}

}  // namespace kavi::model
