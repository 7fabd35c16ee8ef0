#include "output/temporary_names.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace kavi::output {

namespace {

constexpr const char* kMarker = ".kavi-tmp-";

// Long names are cut so that the temporary's name stays within the file
// system's limit of 255 bytes.
constexpr std::size_t kNameKept = 200;
std::string Prefix(const std::string& name) { return name.substr(0, kNameKept) + kMarker; }

// The process number in a temporary's name after its prefix ("<pid>-<n>…"),
// or 0 when the name is not one of ours.
pid_t OwnerOf(const char* rest) {
  char* end = nullptr;
  errno = 0;
  const long pid = std::strtol(rest, &end, 10);
  if (end == rest || *end != '-' || errno != 0 || pid <= 0) return 0;
  return static_cast<pid_t>(pid);
}

bool IsRunning(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// The live temporaries, readable from a signal handler: a slot is claimed by
// setting its flag after its name is complete, and released before reuse.
constexpr std::size_t kSlots = 32;
constexpr std::size_t kPathCapacity = 4096;
struct Slot {
  std::atomic<bool> used{false};
  char path[kPathCapacity];
};
std::array<Slot, kSlots> slots;
std::mutex slotMutex;

void RemoveRegistered() {
  for (Slot& slot : slots)
    if (slot.used.load()) ::unlink(slot.path);
}

extern "C" void RemoveOnSignal(int signal) {
  RemoveRegistered();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

extern "C" void RemoveAtExit() { RemoveRegistered(); }

// Installed once, and only for signals whose handling the program left at
// the default (ending the process): a host's own handlers stay.
void InstallCleanup() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::atexit(RemoveAtExit);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
      struct sigaction current {};
      if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
      struct sigaction handler {};
      handler.sa_handler = RemoveOnSignal;
      sigemptyset(&handler.sa_mask);
      ::sigaction(signal, &handler, nullptr);
    }
  });
}

}  // namespace

std::string ExtensionOf(const std::string& name) {
  const auto slash = name.rfind('/');
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0 || (slash != std::string::npos && dot < slash + 2))
    return {};
  return name.substr(dot);
}

void RemoveStaleTemporaries(const OutputTarget& target) {
  DIR* folder = ::opendir(target.folder.c_str());
  if (!folder) return;
  const std::string prefix = Prefix(target.name);
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(folder)) {
    if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) continue;
    const pid_t owner = OwnerOf(entry->d_name + prefix.size());
    if (owner == 0 || owner == self || IsRunning(owner)) continue;
    ::unlinkat(::dirfd(folder), entry->d_name, 0);
  }
  ::closedir(folder);
}

std::string TemporaryName(const std::string& folder, const std::string& name,
                          const std::string& extension) {
  static std::atomic<unsigned> counter{0};
  return folder + "/" + Prefix(name) + std::to_string(::getpid()) + "-" +
         std::to_string(++counter) + extension;
}

bool RegisterTemporary(const std::string& path) {
  if (path.size() >= kPathCapacity) return false;
  InstallCleanup();
  const std::lock_guard lock(slotMutex);
  for (Slot& slot : slots) {
    if (slot.used.load()) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used.store(true);
    return true;
  }
  return false;
}

void UnregisterTemporary(const std::string& path) {
  const std::lock_guard lock(slotMutex);
  for (Slot& slot : slots)
    if (slot.used.load() && path == slot.path) {
      slot.used.store(false);
      return;
    }
}

}  // namespace kavi::output
