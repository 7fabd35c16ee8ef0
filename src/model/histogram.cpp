#include "model/histogram.h"

#include "model/check_status.h"
#include "model/exceptions.h"

namespace kavi::model {

void CHistogram::Load(const std::string& file) {
  (void)file;
  throw NotImplemented("CHistogram::Load (observed wind climate)");
}

}  // namespace kavi::model
