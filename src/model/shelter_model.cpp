#include "model/shelter_model.h"

#include "model/check_status.h"
#include "numerics/obstacle_file.h"
#include "numerics/shelter_model.h"

namespace kavi::model {

namespace {
constexpr int kFinePerSector = 9;
}

void CShelterModel::Load(const std::string& file) {
  core().obstacles = numerics::ReadObstacleFile(core(), file);
  CheckStatus(core(), "CShelterModel::Load");
  obstacles_ = core().obstacles;
  BuildRecords("CShelterModel::Load");
  notLoaded_ = false;
}

void CShelterModel::BuildRecords(const char* context) {
  numerics::BuildShelterRecords(core(), obstacles_, kFinePerSector * nsec_,
                                numerics::kMaxShelterRecords, records_);
  CheckStatus(core(), context);
}

void CShelterModel::Calculate() {
  if (notLoaded_) return;
  // Records carry fine-direction indexes of the sector count they were built
  // for; a later calculation with another sector count builds them again.
  if (records_.fineDirections != kFinePerSector * nsec_) BuildRecords("CShelterModel::Calculate");
  numerics::ComputeShelter(core(), records_, nsec_, siteHeight_, rose_, effects_);
  CheckStatus(core(), "CShelterModel::Calculate");
}

}  // namespace kavi::model
