#include "file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "call_failure.h"

namespace kavi::tool {

namespace {
constexpr int kNameAttempts = 100;

[[noreturn]] void FailWriting(const std::string& path, int error) {
  Fail(E_FAIL, "could not write " + path + ": " + std::strerror(error));
}

// Creates a temporary file of a name nobody else uses, in the folder of path.
int CreateTemporary(const std::string& path, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = path + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// 0 when all of content reached the file, else the error number.
int WriteAll(int fd, const std::string& content) {
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    written += static_cast<std::size_t>(n);
  }
  // On disk before the rename, so that a crash never leaves an empty file in place.
  return fsync(fd) == 0 ? 0 : errno;
}
}  // namespace

void ReplaceFile(const std::string& path, const std::string& content) {
  std::string temporary;
  const int fd = CreateTemporary(path, temporary);
  if (fd < 0) FailWriting(path, errno);
  int error = WriteAll(fd, content);
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    FailWriting(path, error);
  }
}

}  // namespace kavi::tool

namespace kavi::tool {

void ReplaceFileWith(const std::string& path,
                     const std::function<void(const std::string& temporary)>& write) {
  const std::string extension = std::filesystem::path(path).extension().string();
  std::string temporary;
  for (int attempt = 0;; ++attempt) {
    temporary =
        path + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp" + extension;
    if (access(temporary.c_str(), F_OK) != 0 && errno == ENOENT) break;
    if (attempt + 1 == kNameAttempts) FailWriting(path, EEXIST);
  }
  try {
    write(temporary);
  } catch (...) {
    unlink(temporary.c_str());
    throw;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    FailWriting(path, error);
  }
}

}  // namespace kavi::tool
