// Obstacles near the site and their shelter (slot 3 of the site effect table).
// Obstacles once loaded stay in force until another obstacles file is loaded.
#pragma once

#include <string>

#include "model/roughness_rose.h"

namespace kavi::model {

class CShelterModel : public virtual CSectorCount,
                      public virtual CSiteEffects,
                      public virtual CRoughnessRose {
 public:
  static constexpr int kRecordCapacity = 1000;

  void Load(const std::string& file);
  void Calculate();
  bool obstaclesLoaded() const { return !notLoaded_; }

 protected:
  float keys_[kRecordCapacity] = {};         // R1
  float farDistance_[kRecordCapacity] = {};  // R2
  float height_[kRecordCapacity] = {};       // R3
  float openness_[kRecordCapacity] = {};     // R4
  float direction_[kRecordCapacity] = {};    // R5
  int recordCount_ = 0;
  float distanceScale_ = 0;
  bool notLoaded_ = true;
};

}  // namespace kavi::model
