// The numerical context of one model object, shared by all of its parts: each
// model object owns its own, so calculations of different objects share no
// state and may run on different threads at the same time.
#pragma once

#include <memory>

#include "numerics/context.h"

namespace kavi::model {

class CNumericalCore {
 public:
  // The configuration's parameter vector becomes the context's (step 1 of
  // every calculation); vector holds kParameterCount elements.
  void AdoptParameters(const float* vector);

  numerics::Context& core() { return *core_; }
  const numerics::Context& core() const { return *core_; }

 private:
  std::unique_ptr<numerics::Context> core_ = std::make_unique<numerics::Context>();
};

}  // namespace kavi::model
