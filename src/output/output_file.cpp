#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "output/temporary_names.h"

namespace kavi::output {

namespace {
constexpr int kNameAttempts = 100;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Fail(const std::string& what, int error) {
  problem_ = what + (error != 0 ? std::string(": ") + std::strerror(error) : std::string());
  failed_ = true;
  return false;
}

bool OutputFile::Open(const std::string& path) {
  Discard();
  failed_ = false;
  problem_.clear();
  if (std::string why = ResolveOutput(path, target_); !why.empty()) {
    problem_ = why;
    failed_ = true;
    return false;
  }
  if (target_.kind == OutputTarget::Kind::kInPlace) {
    fd_ = ::open(target_.path.c_str(), O_WRONLY | O_CLOEXEC);
    return fd_ >= 0 || Fail("cannot open '" + path + "'", errno);
  }
  RemoveStaleTemporaries(target_);
  if (!OpenUnnamed() && !OpenNamed()) return false;
  if (target_.kind == OutputTarget::Kind::kRegular) {
    // The replacement keeps what the old file's permissions (and, where
    // allowed, owner) were; a new file gets the usual ones of the umask.
    if (::geteuid() == 0) (void)::fchown(fd_, target_.owner, target_.group);
    if (::fchmod(fd_, target_.mode) != 0) return Fail("cannot set the permissions", errno);
  }
  return true;
}

bool OutputFile::OpenUnnamed() {
  // Linking the file in at the end goes through /proc (or needs a privilege
  // most users lack); without /proc the named way is taken from the start.
  if (::access("/proc/self/fd", X_OK) != 0) return false;
  fd_ = ::open(target_.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  return fd_ >= 0;
}

bool OutputFile::OpenNamed() {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = TemporaryName(target_.folder, target_.name, "");
    if (!RegisterTemporary(name)) return Fail("too many files open for writing", 0);
    // Exclusive creation: never an existing file, never someone else's.
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = std::move(name);
      return true;
    }
    const int error = errno;
    UnregisterTemporary(name);
    if (error != EEXIST) return Fail("cannot create a file in '" + target_.folder + "'", error);
  }
  return Fail("cannot create a file in '" + target_.folder + "'", EEXIST);
}

bool OutputFile::Write(const char* data, std::size_t size) {
  while (size > 0 && fd_ >= 0 && !failed_) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Fail("cannot write '" + target_.path + "'", written < 0 ? errno : EIO);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return fd_ >= 0 && !failed_;
}

// Links the unnamed temporary file into the folder under a temporary name,
// which is then renamed over the target.
bool OutputFile::GiveName() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = TemporaryName(target_.folder, target_.name, "");
    if (!RegisterTemporary(name)) return Fail("too many files open for writing", 0);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
        ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
      temporary_ = std::move(name);
      return true;
    }
    const int error = errno;
    UnregisterTemporary(name);
    if (error != EEXIST) return Fail("cannot write '" + target_.path + "'", error);
  }
  return Fail("cannot write '" + target_.path + "'", EEXIST);
}

bool OutputFile::Commit() {
  if (fd_ < 0 || failed_) {
    Discard();
    return false;
  }
  if (target_.kind == OutputTarget::Kind::kInPlace) {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || Fail("cannot write '" + target_.path + "'", errno);
  }
  // On disk before it is in place, so that a crash never leaves an empty file.
  if (::fsync(fd_) != 0) {
    Fail("cannot write '" + target_.path + "'", errno);
    Discard();
    return false;
  }
  if (temporary_.empty() && !GiveName()) {
    Discard();
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || std::rename(temporary_.c_str(), target_.path.c_str()) != 0) {
    Fail("cannot write '" + target_.path + "'", errno);
    Discard();
    return false;
  }
  UnregisterTemporary(temporary_);
  temporary_.clear();
  SyncFolder(target_.folder);
  return true;
}

void OutputFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    UnregisterTemporary(temporary_);
    temporary_.clear();
  }
}

std::string WriteWholeFile(const std::string& path, const std::string& content) {
  OutputFile file;
  if (file.Open(path) && file.Write(content.data(), content.size()) && file.Commit()) return {};
  return file.problem().empty() ? "cannot write '" + path + "'" : file.problem();
}

}  // namespace kavi::output
