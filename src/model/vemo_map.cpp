#include "model/vemo_map.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "model/check_status.h"
#include "model/edition.h"
#include "model/exceptions.h"
#include "numerics/map_input.h"

namespace kavi::model {

CVemoMap::CVemoMap()
    : mapX_(static_cast<std::size_t>(CurrentEdition().mapCapacity)),
      mapY_(static_cast<std::size_t>(CurrentEdition().mapCapacity)) {}

namespace {
// The whole file, or nothing when it cannot be read.
std::optional<std::string> FileBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}
}  // namespace

void CVemoMap::Load(const std::string& file) {
  const std::optional<std::string> before = FileBytes(file);
  if (mapLoaded_ && before && !parsedBytes_.empty() && *before == parsedBytes_) return;
  parsedBytes_.clear();
  mapLoaded_ = false;
  contents_ = {};
  numerics::MapInput(core(), file, mapX_, mapY_, contents_);
  CheckStatus(core(), "CVemoMap::Load");
  if (contents_.kind < numerics::kMapHeightsOnly ||
      contents_.kind > numerics::kMapHeightsAndRoughness)
    throw LogicError("CVemoMap::Load", "MINPUT returned bad value");
  mapLoaded_ = true;
  // Remembered only when the file did not change while it was parsed.
  if (before && FileBytes(file) == before) parsedBytes_ = *before;
}

}  // namespace kavi::model
