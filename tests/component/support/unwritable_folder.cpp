#include "support/unwritable_folder.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

namespace {
bool ReadOnlyBindMount(const std::string& folder) {
  // A mount namespace of our own, so that the read-only bind mount is
  // private to this process and vanishes with it.
  if (unshare(CLONE_NEWNS) != 0) return false;
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
  return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0 &&
         !CanCreateFileIn(folder);
}

// Root without the right to mount (a container): this process gives up the
// capabilities that let root past permission bits, for the rest of its life.
bool DropFileCapabilities() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
    const unsigned bit = 1u << (capability % 32);
    data[capability / 32].effective &= ~bit;
    data[capability / 32].permitted &= ~bit;
    data[capability / 32].inheritable &= ~bit;
  }
  return syscall(SYS_capset, &header, data) == 0;
}
}  // namespace

std::string MakeFolderReadOnlyHere(const std::string& folder) {
  if (geteuid() == 0 && ReadOnlyBindMount(folder))
    return "read-only bind mount in a private mount namespace";
  const bool dropped = geteuid() == 0 && DropFileCapabilities();
  if (chmod(folder.c_str(), 0555) != 0 || CanCreateFileIn(folder)) return {};
  return dropped ? "permission bits 0555, without root's file capabilities"
                 : "permission bits 0555";
}

void RestoreWritable(const std::string& folder) { chmod(folder.c_str(), 0700); }

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
