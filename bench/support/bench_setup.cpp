#include "support/bench_setup.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "component/parameter_table.h"
#include "numerics/numerical_state.h"
#include "support/bench_core.h"

namespace kavi::bench {

void LoadDefaultParameters() {
  float* vector = kavi::TestCore().parameters;
  const auto& fixed = component::FixedDefaultVector();
  std::copy(fixed.begin(), fixed.end(), vector);
  for (const auto& d : component::ParameterDefinitions()) vector[d.element - 1] = d.defaultValue;
}

std::string EnterScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kavi-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  std::error_code error;
  std::filesystem::current_path(pattern, error);
  return error ? std::string() : pattern;
}

}  // namespace kavi::bench
