// The map storage of a model object: the two coordinate arrays that the map
// reader fills, with the line and entry counts.
#pragma once

#include <string>
#include <vector>

namespace kavi::model {

class CVemoMap {
 public:
  CVemoMap();
  // Reads the map file into the storage (context "CVemoMap::Load").
  void Load(const std::string& file);

  int mapCapacity() const { return static_cast<int>(mapX_.size()); }

 protected:
  std::vector<float> mapX_;  // allocated once with the edition's capacity
  std::vector<float> mapY_;
  int lineCount_ = 0;
  int entryCount_ = 0;
  bool mapLoaded_ = false;
};

}  // namespace kavi::model
