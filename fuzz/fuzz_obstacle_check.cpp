// Fuzz target of the tool's check of obstacle files: every input passes or is
// a usage error; a file that passes is read by the engine without failure.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness/input_file.h"
#include "numerics/context.h"
#include "numerics/obstacle_file.h"
#include "obstacle_file_check.h"
#include "usage_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = kavi::fuzz::WriteInputFile(data, size);
  try {
    kavi::tool::CheckObstacleFile(path, "predict");
  } catch (const kavi::tool::UsageError&) {
    return 0;
  }
  // What the tool lets through, the engine must read.
  using namespace kavi::numerics;
  Context ctx;
  ctx.obstacles = ReadObstacleFile(ctx, path);
  if (ctx.status != kStatusOk) std::abort();
  return 0;
}
