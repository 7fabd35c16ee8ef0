// The roughness rose of the site: derived from the map, or read from a file.
#pragma once

#include <string>

#include "model/sector_count.h"
#include "model/site_effects.h"
#include "model/vemo_map.h"
#include "numerics/calculation_arrays.h"

namespace kavi::model {

class CRoughnessRose : public virtual CVemoMap,
                       public virtual CSectorCount,
                       public virtual CSiteEffects {
 public:
  // Derives the rose of the site position from the map; leaves the loaded flag.
  void CreateFromSite();
  void Load(const std::string& file);
  void Save(const std::string& file) const;

  const numerics::RoughnessRose& rose() const { return rose_; }
  bool roseLoaded() const { return roseLoaded_; }

 protected:
  // No changes anywhere, 0.03 m at the site of all 36 sectors, not loaded.
  void ResetRose();

  numerics::RoughnessRose rose_;
  bool roseLoaded_ = false;
};

}  // namespace kavi::model
