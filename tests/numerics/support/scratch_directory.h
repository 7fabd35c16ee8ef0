// A private directory for the files a test writes, removed with everything in
// it when the test ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kavi::numerics::testing {

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavi-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // Full path of `name` inside the directory.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

  // Writes `text` to the file `name` and returns its full path.
  std::string Write(const std::string& name, const std::string& text) const {
    const std::string file = File(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    return file;
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A scratch directory that is the working directory for the object's life, so
// that work files land where no other test process looks.
class ScratchWorkingDirectory {
 public:
  ScratchWorkingDirectory() : home_(std::filesystem::current_path()) {
    std::filesystem::current_path(scratch_.path());
  }
  ~ScratchWorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(home_, ignored);
  }
  ScratchWorkingDirectory(const ScratchWorkingDirectory&) = delete;
  ScratchWorkingDirectory& operator=(const ScratchWorkingDirectory&) = delete;

 private:
  std::filesystem::path home_;
  ScratchDirectory scratch_;
};

}  // namespace kavi::numerics::testing
