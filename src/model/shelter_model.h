// Obstacles near the site and their shelter (slot 3 of the site effect table).
// Obstacles once loaded stay in force until another obstacles file is loaded.
#pragma once

#include <string>

#include "model/roughness_rose.h"
#include "numerics/obstacle_input.h"
#include "numerics/shelter_records.h"

namespace kavi::model {

class CShelterModel : public virtual CSectorCount,
                      public virtual CSiteEffects,
                      public virtual CRoughnessRose {
 public:
  void Load(const std::string& file);
  void Calculate();
  bool obstaclesLoaded() const { return !notLoaded_; }

 protected:
  // Shelter records over 9 × nsec fine directions from this object's obstacles.
  void BuildRecords(const char* context);

  numerics::ObstacleInput obstacles_;  // this object's own copy
  numerics::ShelterRecordList records_;
  bool notLoaded_ = true;
};

}  // namespace kavi::model
