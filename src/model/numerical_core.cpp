#include "model/numerical_core.h"

#include <algorithm>

namespace kavi::model {

void CNumericalCore::AdoptParameters(const float* vector) {
  std::copy(vector, vector + numerics::kParameterCount, core_->parameters);
}

}  // namespace kavi::model
