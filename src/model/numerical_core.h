// The numerical context of one model object, shared by all of its parts: each
// model object owns its own, so calculations of different objects share no
// state and may run on different threads at the same time.
//
// The parts of a model object (map, sector count, site effects, rose, grid,
// shelter) are virtual bases, so that an object holds each shared part once
// and every part reaches the ones it reads as its own members: the rose reads
// the map, the sector count and the site position; the shelter reads the rose
// and writes the site effects. Plain members would need each part to hold
// references to its siblings, set up in the right order, which reads worse
// than the one inheritance list per class; every part stays small and does
// one thing.
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
