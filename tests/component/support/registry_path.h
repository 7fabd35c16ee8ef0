// A registry file of the test's choosing, named through KAVI_REGISTRY for the
// life of the object; the earlier setting comes back afterwards.
#pragma once

#include <string>

namespace kavi::test {

class RegistryPath {
 public:
  explicit RegistryPath(const std::string& path);
  ~RegistryPath();
  RegistryPath(const RegistryPath&) = delete;
  RegistryPath& operator=(const RegistryPath&) = delete;

 private:
  std::string previous_;
  bool hadPrevious_ = false;
};

// The text of the registry file in use now.
std::string CurrentRegistryText();

}  // namespace kavi::test
