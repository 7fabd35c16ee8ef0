#include "model/shelter_model.h"

#include "model/check_status.h"
#include "numerics/obstacle_file.h"
#include "numerics/shelter_model.h"

namespace kavi::model {

namespace {
constexpr int kFinePerSector = 9;
}

void CShelterModel::Load(const std::string& file) {
  numerics::ObstacleInput& input = core().obstacles;
  numerics::ReadObstacleFile(core(), input.count, input.firstBearing, input.firstDistance,
                             input.secondBearing, input.secondDistance, input.height, input.depth,
                             input.porosity, file.c_str(), static_cast<int>(file.size()));
  CheckStatus(core(), "CShelterModel::Load");
  obstacles_ = input;
  BuildRecords("CShelterModel::Load");
  notLoaded_ = false;
}

void CShelterModel::BuildRecords(const char* context) {
  const numerics::ObstacleInput& o = obstacles_;
  fineDirections_ = kFinePerSector * nsec_;
  numerics::BuildShelterRecords(core(), o.count, o.firstBearing, o.firstDistance, o.secondBearing,
                                o.secondDistance, o.height, o.depth, o.porosity, records_.direction,
                                records_.key, records_.farDistance, records_.height,
                                records_.openness, records_.count, numerics::kMaxShelterRecords,
                                records_.distanceScale, fineDirections_);
  CheckStatus(core(), context);
}

void CShelterModel::Calculate() {
  if (notLoaded_) return;
  // Records carry fine-direction indexes of the sector count they were built
  // for; a later calculation with another sector count builds them again.
  if (fineDirections_ != kFinePerSector * nsec_) BuildRecords("CShelterModel::Calculate");
  numerics::ComputeShelter(core(), records_.key, records_.farDistance, records_.height,
                           records_.openness, records_.count, records_.distanceScale,
                           fineDirections_, nsec_, siteHeight_, rose_.z0, effects_.speedFactor,
                           effects_.turning);
  CheckStatus(core(), "CShelterModel::Calculate");
}

}  // namespace kavi::model
