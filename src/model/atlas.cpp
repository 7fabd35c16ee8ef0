#include "model/atlas.h"

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/atlas_file.h"
#include "numerics/parameter_elements.h"

namespace kavi::model {

namespace {
int Truncated(float element) { return static_cast<int>(element); }
}  // namespace

void CAtlas::Reset() {
  // Counts outside 1 … 5 cannot come from a configuration (the parameters
  // are range-checked); the reset cuts them to the capacities.
  tables_.roughnessCount = Truncated(owner_.core().Parameter(numerics::kNumStdRoughness));
  tables_.heightCount = Truncated(owner_.core().Parameter(numerics::kNumStdHeights));
  numerics::ResetAtlas(owner_.core(), tables_.roughnessCount, tables_.heightCount,
                       owner_.sectorCount(), tables_);
  CheckStatus(owner_.core(), "CAtlas::Reset");
}

void CAtlas::Load(const std::string& file) {
  int sectorsRead = 0;
  char title[numerics::kAtlasTitleWidth] = {};
  numerics::LoadAtlas(owner_.core(), tables_, sectorsRead, title, file);
  CheckStatus(owner_.core(), "CAtlas::Load");
  if (sectorsRead > numerics::kMaxSectors) throw RuntimeError("CAtlas::Load", "Too many sectors");
  owner_.AdoptSectorCount(sectorsRead);
}

void CAtlas::Save(const std::string& file) const {
  numerics::SaveAtlas(owner_.core(), tables_, owner_.sectorCount(), "", file);
  CheckStatus(owner_.core(), "CAtlas::Save");
}

}  // namespace kavi::model
