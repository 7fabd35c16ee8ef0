// Reading and atomically replacing the registry file under flock locks.
#include "registry_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "output/output_file.h"
#include "thread_error.h"

namespace kavi::runtime {

namespace {

std::string ErrorText(int error) { return std::generic_category().message(error); }

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
      result->pw_dir)
    return result->pw_dir;
  return {};
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

HRESULT Fail(HRESULT code, const std::string& description) {
  SetThreadError(description);
  return code;
}

// Creates the folder and its parents as needed (private to the user, as data folders are).
bool MakeFolders(const std::string& folder, std::string& problem) {
  for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      problem = "cannot create folder " + part + ": " + ErrorText(errno);
      return false;
    }
    if (end == std::string::npos) return true;
  }
}

// How long a change waits for another process that holds the registry lock;
// registrations take milliseconds, so a longer hold means a stuck process.
constexpr std::chrono::seconds kLockPatience{10};

// An flock on the lock file beside the registry; released when destroyed.
class FileLock {
 public:
  ~FileLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
  }
  // Returns 0 or the errno of the failure; EWOULDBLOCK when another process
  // has held the lock for longer than kLockPatience.
  int Acquire(const std::string& path, int operation) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return errno;
    const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
    while (flock(fd_, operation | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return errno;
      usleep(10000);
    }
    return 0;
  }

 private:
  int fd_ = -1;
};

// Reads the whole file; missing is set (and true returned) when it does not exist.
bool ReadFile(const std::string& path, std::string& text, bool& missing, int& error) {
  missing = false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    missing = errno == ENOENT;
    error = errno;
    return missing;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    close(fd);
    return false;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

HRESULT Load(const std::string& path, RegistryTree& tree) {
  std::string text;
  bool missing = false;
  int error = 0;
  if (!ReadFile(path, text, missing, error))
    return Fail(REGDB_E_READREGDB,
                "Registry file " + path + " cannot be read: " + ErrorText(error));
  if (missing) {
    tree = RegistryTree();
    return S_OK;
  }
  if (const auto problem = tree.Parse(text)) {
    const std::string where = problem->line > 0
                                  ? " is corrupt at line " + std::to_string(problem->line) + ": "
                                  : " is corrupt or truncated: ";
    return Fail(REGDB_E_READREGDB, "Registry file " + path + where + problem->reason);
  }
  return S_OK;
}

// Replaces the registry whole, so that readers see either the old or the new file.
HRESULT Replace(const std::string& path, const std::string& text) {
  if (const std::string problem = output::WriteWholeFile(path, text); !problem.empty())
    return Fail(REGDB_E_WRITEREGDB, "Registry file " + path + " cannot be written: " + problem);
  return S_OK;
}

}  // namespace

std::string RegistryFilePath() {
  if (const char* path = std::getenv("KAVI_REGISTRY"); path && *path) return path;
  // Relative XDG_DATA_HOME values are invalid and ignored.
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
    return std::string(data) + "/kavicalc/registry";
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return home + "/.local/share/kavicalc/registry";
}

HRESULT ReadRegistry(RegistryTree& tree) {
  const std::string path = RegistryFilePath();
  if (path.empty())
    return Fail(REGDB_E_READREGDB, "No registry file: neither KAVI_REGISTRY nor a home folder");
  FileLock lock;
  const int error = lock.Acquire(path + ".lock", LOCK_SH);
  if (error == ENOENT) {  // no folder, hence no registry
    tree = RegistryTree();
    return S_OK;
  }
  // Without a lock (a read-only folder) the read is still consistent: the file
  // is only ever replaced whole by a rename.
  return Load(path, tree);
}

HRESULT UpdateRegistry(const std::function<HRESULT(RegistryTree&)>& change) {
  const std::string path = RegistryFilePath();
  if (path.empty())
    return Fail(REGDB_E_WRITEREGDB, "No registry file: neither KAVI_REGISTRY nor a home folder");
  std::string problem;
  if (!MakeFolders(FolderOf(path), problem))
    return Fail(REGDB_E_WRITEREGDB, "Registry file " + path + " cannot be written: " + problem);
  FileLock lock;
  if (const int error = lock.Acquire(path + ".lock", LOCK_EX)) {
    const std::string why = error == EWOULDBLOCK
                                ? "another process has held its lock for more than " +
                                      std::to_string(kLockPatience.count()) + " s"
                                : ErrorText(error);
    return Fail(REGDB_E_WRITEREGDB, "Registry file " + path + " cannot be locked: " + why);
  }
  RegistryTree tree;
  HRESULT h = Load(path, tree);
  if (FAILED(h)) return h;
  h = change(tree);
  if (h != S_OK) return h;
  return Replace(path, tree.Serialize());
}

}  // namespace kavi::runtime
