// Fuzz target of the roughness rose file reader, then the site model and the prediction.
#include <cstddef>
#include <cstdint>

#include "harness/reader_harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavi::fuzz::AbortIfBroken(kavi::fuzz::RunRoughnessRoseFile(data, size));
  return 0;
}
