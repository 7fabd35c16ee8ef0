#include "output/named_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "output/output_file.h"
#include "output/temporary_names.h"

namespace kavi::output {

namespace {
constexpr int kNameAttempts = 100;

// A folder for the temporary of a special file, whose own folder (such as
// /dev) is no place for it.
std::string ScratchFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder == '/' ? folder : "/tmp";
}
}  // namespace

NamedOutput::~NamedOutput() { Discard(); }

bool NamedOutput::Fail(const std::string& what, int error) {
  problem_ = what + (error != 0 ? std::string(": ") + std::strerror(error) : std::string());
  return false;
}

bool NamedOutput::Open(const std::string& path) {
  Discard();
  problem_.clear();
  if (std::string why = ResolveOutput(path, target_); !why.empty()) return Fail(why, 0);
  const bool inPlace = target_.kind == OutputTarget::Kind::kInPlace;
  const std::string folder = inPlace ? ScratchFolder() : target_.folder;
  if (!inPlace) RemoveStaleTemporaries(target_);
  const std::string extension = ExtensionOf(target_.name);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = TemporaryName(folder, target_.name, extension);
    struct stat existing {};
    if (::lstat(name.c_str(), &existing) == 0) continue;
    if (!RegisterTemporary(name)) return Fail("too many files open for writing", 0);
    temporary_ = std::move(name);
    return true;
  }
  return Fail("cannot find a free temporary name in '" + folder + "'", EEXIST);
}

bool NamedOutput::CopyInPlace() {
  const int in = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail("cannot read back '" + temporary_ + "'", errno);
  const int out = ::open(target_.path.c_str(), O_WRONLY | O_CLOEXEC);
  if (out < 0) {
    ::close(in);
    return Fail("cannot open '" + target_.path + "'", errno);
  }
  char buffer[65536];
  int error = 0;
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) error = errno;
      break;
    }
    for (char* next = buffer; got > 0 && error == 0;) {
      const ssize_t put = ::write(out, next, static_cast<std::size_t>(got));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) error = put < 0 ? errno : EIO;
      if (put > 0) {
        next += put;
        got -= put;
      }
    }
    if (error != 0) break;
  }
  ::close(in);
  if (::close(out) != 0 && error == 0) error = errno;
  return error == 0 || Fail("cannot write '" + target_.path + "'", error);
}

bool NamedOutput::Commit() {
  if (temporary_.empty()) return false;
  struct stat written {};
  if (::lstat(temporary_.c_str(), &written) != 0 || !S_ISREG(written.st_mode)) {
    Fail("the file for '" + target_.path + "' was not written", 0);
    Discard();
    return false;
  }
  if (target_.kind == OutputTarget::Kind::kInPlace) {
    const bool copied = CopyInPlace();
    Discard();
    return copied;
  }
  // On disk with the old file's permissions before it replaces it.
  const int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
  int error = fd < 0 ? errno : 0;
  if (fd >= 0) {
    if (target_.kind == OutputTarget::Kind::kRegular) {
      if (::geteuid() == 0) (void)::fchown(fd, target_.owner, target_.group);
      if (::fchmod(fd, target_.mode) != 0) error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    ::close(fd);
  }
  if (error == 0 && std::rename(temporary_.c_str(), target_.path.c_str()) != 0) error = errno;
  if (error != 0) {
    Fail("cannot write '" + target_.path + "'", error);
    Discard();
    return false;
  }
  UnregisterTemporary(temporary_);
  temporary_.clear();
  SyncFolder(target_.folder);
  return true;
}

void NamedOutput::Discard() {
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  UnregisterTemporary(temporary_);
  temporary_.clear();
}

}  // namespace kavi::output
