#include "support/registry_path.h"

#include <kavi/runtime.h>
#include <stdlib.h>

#include "support/test_files.h"

namespace kavi::test {

RegistryPath::RegistryPath(const std::string& path) {
  if (const char* previous = getenv("KAVI_REGISTRY")) {
    previous_ = previous;
    hadPrevious_ = true;
  }
  setenv("KAVI_REGISTRY", path.c_str(), 1);
}

RegistryPath::~RegistryPath() {
  if (hadPrevious_) {
    setenv("KAVI_REGISTRY", previous_.c_str(), 1);
  } else {
    unsetenv("KAVI_REGISTRY");
  }
}

std::string CurrentRegistryText() {
  char path[4096];
  RegFilePath(path, sizeof path);
  return ReadText(path);
}

}  // namespace kavi::test
