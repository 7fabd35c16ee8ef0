#include "model/histogram.h"

#include "model/check_status.h"
#include "model/exceptions.h"
#include "numerics/observed_climate.h"
#include "numerics/observed_climate_fit.h"

namespace kavi::model {

void CHistogram::Load(const std::string& file) {
  // Read into a copy, so a refused climate leaves the one in use untouched.
  numerics::ObservedClimate read = climate_;
  numerics::ReadObservedClimate(owner_.core(), read, file);
  CheckStatus(owner_.core(), "CHistogram::Load");
  if (read.sectorCount > numerics::kMaxSectors)
    throw RuntimeError("CHistogram::Load", "Too many sectors");
  climate_ = read;
  owner_.AdoptSectorCount(climate_.sectorCount);
  numerics::FitObservedClimate(climate_, fittedA_, fittedK_);
  loaded_ = true;
}

}  // namespace kavi::model
