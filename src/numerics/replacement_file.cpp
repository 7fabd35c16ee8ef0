#include "numerics/replacement_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace kavi::numerics {

namespace {
constexpr int kNameAttempts = 100;
}

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Open(const std::string& requested) {
  Discard();
  failed_ = false;
  struct stat existing;
  const bool exists = ::stat(requested.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    // A device, pipe or other special file is written into as it is: renaming
    // a file over it would replace the device itself.
    fd_ = ::open(requested.c_str(), O_WRONLY | O_CLOEXEC);
    target_ = requested;
    return fd_ >= 0;
  }
  // Through a symbolic link, the file it names is the one replaced.
  std::string target = requested;
  if (exists) {
    char resolved[PATH_MAX];
    if (::realpath(requested.c_str(), resolved)) target = resolved;
  }
  static unsigned counter = 0;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name =
        target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    // Exclusive creation: never an existing file, never someone else's.
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = name;
      break;
    }
    if (errno != EEXIST) return false;
  }
  if (fd_ < 0) return false;
  target_ = target;
  if (exists) ::fchmod(fd_, existing.st_mode & 07777);
  return true;
}

bool ReplacementFile::Write(const char* data, std::size_t size) {
  while (size > 0 && fd_ >= 0 && !failed_) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      break;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return fd_ >= 0 && !failed_;
}

bool ReplacementFile::Commit() {
  if (fd_ >= 0 && temporary_.empty()) {  // a special file, written in place
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed && !failed_;
  }
  if (fd_ < 0 || failed_ || ::fsync(fd_) != 0) {
    Discard();
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacementFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

}  // namespace kavi::numerics
