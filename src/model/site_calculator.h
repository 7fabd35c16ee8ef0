// The model object of RoughnessRoseGenerator and AtlasUser: a site with its
// map, roughness rose, site model, shelter, an atlas and the predicted climate.
#pragma once

#include <string>

#include "model/atlas.h"
#include "model/shelter_model.h"
#include "model/site_model.h"

namespace kavi::model {

using numerics::PredictedClimate;

class CSiteCalculator : public CShelterModel, public CSiteModel {
 public:
  CSiteCalculator() : atlas_(*this) {}

  // Start of every calculation: sector count, site effects, site model and rose.
  void Reset();
  // Sector count n, the rose of the site from the map, written to file.
  void WriteRoughnessRose(const std::string& file, int n);
  // Site model, shelter, then the prediction from the atlas.
  void Predict();

  CAtlas& atlas() { return atlas_; }
  const PredictedClimate& predicted() const { return predicted_; }
  bool hasPrediction() const { return predictedFlag_; }

 private:
  CAtlas atlas_;
  PredictedClimate predicted_;
  bool predictedFlag_ = false;
};

}  // namespace kavi::model
