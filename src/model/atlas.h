// The wind atlas of a model object: reset from the standard heights and
// roughness classes, calculated, saved and loaded.
#pragma once

#include <string>

#include "model/sector_count.h"
#include "numerics/calculation_arrays.h"

namespace kavi::model {

class CAtlas {
 public:
  explicit CAtlas(CSectorCount& owner) : owner_(owner) {}

  // Standard lists from the parameter vector, tables to their defaults.
  void Reset();
  // Reads an atlas file and adopts its sector count.
  void Load(const std::string& file);
  void Save(const std::string& file) const;

  numerics::AtlasTables& tables() { return tables_; }
  const numerics::AtlasTables& tables() const { return tables_; }

 private:
  CSectorCount& owner_;
  numerics::AtlasTables tables_;
};

}  // namespace kavi::model
