// Fuzz target of the atlas file reader, then the prediction at a site.
#include <cstddef>
#include <cstdint>

#include "harness/reader_harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavi::fuzz::AbortIfBroken(kavi::fuzz::RunAtlasFile(data, size));
  return 0;
}
