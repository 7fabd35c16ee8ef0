#include "output/output_target.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace kavi::output {

namespace {

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) {
    folder = ".";
    name = path;
  } else {
    folder = slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
  }
}

// "" when new files can be made in folder and files in it renamed.
std::string CheckFolder(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      return "the folder " + Quoted(folder) + " does not exist";
    return "the folder " + Quoted(folder) + " cannot be used: " + std::strerror(errno);
  }
  if (!S_ISDIR(info.st_mode)) return Quoted(folder) + " is not a folder";
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
    return "the folder " + Quoted(folder) + " is not writable";
  return {};
}

}  // namespace

std::string ResolveOutput(const std::string& requested, OutputTarget& target) {
  target = OutputTarget();
  if (requested.empty()) return "no file name";
  if (requested.back() == '/') return Quoted(requested) + " names a folder";
  struct stat link {};
  if (::lstat(requested.c_str(), &link) != 0) {
    if (errno != ENOENT) return Quoted(requested) + " cannot be used: " + std::strerror(errno);
    target.path = requested;
    SplitPath(requested, target.folder, target.name);
    return CheckFolder(target.folder);
  }
  struct stat info = link;
  target.path = requested;
  if (S_ISLNK(link.st_mode)) {
    // Through a symbolic link the file it names is the one written; a link
    // to nothing is refused rather than replaced or made to create a file
    // somewhere the user did not name.
    if (::stat(requested.c_str(), &info) != 0)
      return Quoted(requested) + " is a symbolic link to a file that does not exist";
    char resolved[PATH_MAX];
    if (!::realpath(requested.c_str(), resolved))
      return Quoted(requested) + " cannot be resolved: " + std::strerror(errno);
    target.path = resolved;
  }
  SplitPath(target.path, target.folder, target.name);
  if (S_ISDIR(info.st_mode)) return Quoted(requested) + " is a folder";
  target.mode = info.st_mode & 07777;
  target.owner = info.st_uid;
  target.group = info.st_gid;
  if (!S_ISREG(info.st_mode)) {
    // A device or pipe is written into; renaming over it would replace it.
    target.kind = OutputTarget::Kind::kInPlace;
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
      return Quoted(requested) + " is not writable";
    return {};
  }
  target.kind = OutputTarget::Kind::kRegular;
  // A file nobody may write (even where the superuser could) is protected on
  // purpose; one the user could not write in place is not the user's to
  // replace either.
  if ((info.st_mode & 0222) == 0 ||
      ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
    return Quoted(requested) + " is read-only";
  if (info.st_uid != ::geteuid() && ::geteuid() != 0)
    return Quoted(requested) + " belongs to another user";
  return CheckFolder(target.folder);
}

}  // namespace kavi::output
