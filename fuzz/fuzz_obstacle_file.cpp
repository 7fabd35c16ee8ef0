// Fuzz target of the obstacles file reader, then the shelter records and the shelter model.
#include <cstddef>
#include <cstdint>

#include "harness/reader_harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavi::fuzz::AbortIfBroken(kavi::fuzz::RunObstacleFile(data, size));
  return 0;
}
