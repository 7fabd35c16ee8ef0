#include "map_origin.h"

namespace kavi::tool {

Position MapOrigin::ToLocal(const Position& crs) const {
  if (!reference_) return crs;
  return {crs.x - reference_->originX, crs.y - reference_->originY};
}

Position MapOrigin::ToCrs(const Position& local) const {
  if (!reference_) return local;
  return {local.x + reference_->originX, local.y + reference_->originY};
}

MapOrigin MapOriginOf(const std::string& mapPath) {
  return MapOrigin(gis::ReadMapGeoreference(mapPath));
}

}  // namespace kavi::tool
