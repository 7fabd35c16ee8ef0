// The observed wind climate of a station, with its Weibull fits per sector
// (slots 0 … 35) and for all sectors together (slot 36).
#pragma once

#include <string>

#include "model/sector_count.h"
#include "numerics/calculation_arrays.h"

namespace kavi::model {

class CHistogram {
 public:
  explicit CHistogram(CSectorCount& owner) : owner_(owner) {}

  void Load(const std::string& file);
  bool loaded() const { return loaded_; }
  const numerics::ObservedClimate& climate() const { return climate_; }
  float fittedA(int slot) const { return fittedA_[slot]; }
  float fittedK(int slot) const { return fittedK_[slot]; }

 private:
  CSectorCount& owner_;
  numerics::ObservedClimate climate_;
  float fittedA_[numerics::kMaxSectors + 1] = {};
  float fittedK_[numerics::kMaxSectors + 1] = {};
  bool loaded_ = false;
};

}  // namespace kavi::model
