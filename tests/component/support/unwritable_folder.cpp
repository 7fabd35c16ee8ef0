#include "support/unwritable_folder.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavi::test {

bool CanCreateFileIn(const std::string& folder) {
  const std::string probe = folder + "/.kavi-probe-" + std::to_string(getpid());
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

std::string MakeFolderReadOnlyHere(const std::string& folder) {
  if (geteuid() != 0) {
    if (chmod(folder.c_str(), 0555) != 0 || CanCreateFileIn(folder)) return {};
    return "permission bits 0555";
  }
  // Root: a mount namespace of our own, so that the read-only bind mount is
  // private to this process and vanishes with it.
  if (unshare(CLONE_NEWNS) != 0) return {};
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return {};
  if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return {};
  if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
    return {};
  if (CanCreateFileIn(folder)) return {};
  return "read-only bind mount in a private mount namespace";
}

void RestoreWritable(const std::string& folder) {
  if (geteuid() != 0) chmod(folder.c_str(), 0700);
}

std::string EnterUnwritableWorkingFolder(const std::string& folder) {
  std::string how = MakeFolderReadOnlyHere(folder);
  if (!how.empty()) return chdir(folder.c_str()) == 0 ? how : std::string();
  const std::string gone = folder + "/removed";
  if (mkdir(gone.c_str(), 0700) != 0 || chdir(gone.c_str()) != 0 || rmdir(gone.c_str()) != 0)
    return {};
  if (CanCreateFileIn(".")) return {};
  return "a working folder that was removed after entering it";
}

}  // namespace kavi::test
