// Fuzz target of the observed wind climate reader, then the Weibull fits and the atlas
// calculation.
#include <cstddef>
#include <cstdint>

#include "harness/reader_harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavi::fuzz::AbortIfBroken(kavi::fuzz::RunObservedClimate(data, size));
  return 0;
}
