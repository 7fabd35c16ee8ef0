// The model object of AtlasGenerator: the station site with its map, rose,
// site model and shelter, the observed climate and the atlas it generalises to.
#pragma once

#include "model/atlas.h"
#include "model/histogram.h"
#include "model/shelter_model.h"
#include "model/site_model.h"

namespace kavi::model {

class CAtlasCalculator : public CShelterModel, public CSiteModel {
 public:
  CAtlasCalculator() : atlas_(*this), histogram_(*this) {}

  // Atlas control value, the model reset, then the atlas reset.
  void Reset();
  // Site model, shelter, then the generalisation into the atlas tables.
  void Calculate();

  CAtlas& atlas() { return atlas_; }
  CHistogram& histogram() { return histogram_; }
  bool calculated() const { return calculated_; }

 private:
  CAtlas atlas_;
  CHistogram histogram_;
  bool calculated_ = false;
};

}  // namespace kavi::model
