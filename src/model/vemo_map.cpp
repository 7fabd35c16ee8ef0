#include "model/vemo_map.h"

#include "model/check_status.h"
#include "model/edition.h"
#include "model/exceptions.h"

namespace kavi::model {

CVemoMap::CVemoMap()
    : mapX_(static_cast<std::size_t>(CurrentEdition().mapCapacity)),
      mapY_(static_cast<std::size_t>(CurrentEdition().mapCapacity)) {}

void CVemoMap::Load(const std::string& file) {
  (void)file;
  mapLoaded_ = false;
  lineCount_ = 0;
  entryCount_ = 0;
  throw NotImplemented("CVemoMap::Load (map input)");
}

}  // namespace kavi::model
