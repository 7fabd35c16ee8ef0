#include "model/roughness_rose.h"

#include "model/check_status.h"
#include "model/roughness_rose_file.h"
#include "numerics/roughness_rose_from_map.h"

namespace kavi::model {

void CRoughnessRose::ResetRose() {
  for (int i = 0; i < numerics::kMaxSectors; ++i) {
    rose_.changes[i] = 0;
    rose_.z0[0][i] = 0.03f;
    for (int r = 1; r <= 9; ++r) rose_.z0[r][i] = 0.0f;
    for (int r = 0; r <= 7; ++r) rose_.distance[r][i] = 0.0f;
  }
  roseLoaded_ = false;
}

void CRoughnessRose::CreateFromSite() {
  numerics::MapRoughnessRose(core(), storage(), {siteX_, siteY_}, nsec_, rose_);
  CheckStatus(core(), "CRoughnessRose::CreateFromSite");
}

void CRoughnessRose::Load(const std::string& file) {
  LoadRoughnessRose(file, nsec_, rose_);
  roseLoaded_ = true;
}

void CRoughnessRose::Save(const std::string& file) const { SaveRoughnessRose(file, nsec_, rose_); }

}  // namespace kavi::model
