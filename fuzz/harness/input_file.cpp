#include "input_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace kavi::fuzz {

namespace {

// Where the private directory is made: $KAVI_FUZZ_SCRATCH when set (the fuzz
// script points it at a folder it removes afterwards), else /dev/shm, else the
// usual temporary folder.
std::string ScratchBase() {
  if (const char* chosen = std::getenv("KAVI_FUZZ_SCRATCH"); chosen && *chosen) return chosen;
  struct stat info;
  if (::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && ::access("/dev/shm", W_OK) == 0)
    return "/dev/shm";
  if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return tmp;
  return "/tmp";
}

[[noreturn]] void Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "fuzz harness: cannot %s %s\n", what, path.c_str());
  std::abort();
}

class InputFile {
 public:
  InputFile() {
    std::string pattern = ScratchBase() + "/kavi-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) Fail("create a directory in", ScratchBase());
    directory_ = pattern;
    path_ = directory_ + "/input";
  }
  ~InputFile() {
    ::unlink(path_.c_str());
    ::rmdir(directory_.c_str());
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::string& Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file) Fail("open", path_);
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) Fail("write", path_);
    return path_;
  }

 private:
  std::string directory_;
  std::string path_;
};

}  // namespace

const std::string& WriteInputFile(const std::uint8_t* data, std::size_t size) {
  static InputFile file;
  return file.Write(data, size);
}

}  // namespace kavi::fuzz
