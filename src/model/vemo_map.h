// The map storage of a model object: the two coordinate arrays that the map
// reader fills, with the line and entry counts.
#pragma once

#include <string>
#include <vector>

#include "model/numerical_core.h"
#include "numerics/calculation_arrays.h"
#include "numerics/map_input.h"

namespace kavi::model {

class CVemoMap : public virtual CNumericalCore {
 public:
  CVemoMap();
  // Reads the map file into the storage (context "CVemoMap::Load"). A file
  // whose bytes equal those of the last successful load is not parsed again:
  // the storage already holds exactly what parsing it would give.
  void Load(const std::string& file);

  int mapCapacity() const { return static_cast<int>(mapX_.size()); }

 protected:
  // The storage as the numerical routines read it.
  numerics::MapStorage storage() const {
    return {mapX_.data(), mapY_.data(), contents_.lineCount, mapCapacity()};
  }

  std::vector<float> mapX_;  // allocated once with the edition's capacity
  std::vector<float> mapY_;
  numerics::MapContents contents_;  // line and entry counts and kind of the last read
  bool mapLoaded_ = false;

 private:
  // The bytes of the file that the storage was parsed from; empty when the
  // storage holds no successful parse of a file read whole.
  std::string parsedBytes_;
};

}  // namespace kavi::model
