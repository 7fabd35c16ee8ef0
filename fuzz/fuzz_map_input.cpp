// Fuzz target of the map file reader, then the zooming grid, its spectrum, the roughness rose
// and the site model on the map it read.
#include <cstddef>
#include <cstdint>

#include "harness/reader_harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavi::fuzz::AbortIfBroken(kavi::fuzz::RunMapInput(data, size));
  return 0;
}
