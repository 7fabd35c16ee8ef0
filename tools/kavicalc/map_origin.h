// Positions on a map that records a CRS and a local origin (an imported map):
// users give and read positions in the CRS's own coordinates, the engine
// works in the map's local coordinates. The translation is done here, in
// double precision, where positions are parsed and printed; on a map that
// records no origin both are the same.
#pragma once

#include <optional>
#include <string>

#include "gis/map_georeference.h"
#include "value_parsers.h"

namespace kavi::tool {

class MapOrigin {
 public:
  MapOrigin() = default;
  explicit MapOrigin(std::optional<gis::MapGeoreference> reference)
      : reference_(std::move(reference)) {}

  bool Recorded() const { return reference_.has_value(); }
  const std::optional<gis::MapGeoreference>& reference() const { return reference_; }

  // A position in the map's CRS as the engine's local position.
  Position ToLocal(const Position& crs) const;
  // A local position of the engine in the map's CRS.
  Position ToCrs(const Position& local) const;

 private:
  std::optional<gis::MapGeoreference> reference_;
};

// The origin recorded on the title line of the map file (none when the file
// records none or cannot be read: the engine then reports the file).
MapOrigin MapOriginOf(const std::string& mapPath);

}  // namespace kavi::tool
