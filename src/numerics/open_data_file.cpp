#include "numerics/open_data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

#include "numerics/context.h"

namespace kavi::numerics {

namespace {

// A name or keyword without its trailing blanks.
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Whether text is the upper-case word in any letter case.
bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
  }
  return true;
}

// Only the two forms and the two dispositions that the callers use are known.
bool IsKnownForm(std::string_view form) {
  form = Trimmed(form);
  if (form == "UNKNOWN") return true;  // means formatted
  return EqualsIgnoringCase(form, "FORMATTED") || EqualsIgnoringCase(form, "UNFORMATTED");
}

int Fail(Context& ctx, int& unit, int error) {
  ctx.SetStatus(kStatusCannotOpenFile);
  unit = -1;
  return error != 0 ? error : EINVAL;
}

}  // namespace

DataUnits::~DataUnits() {
  for (std::FILE* file : files_) {
    if (file) std::fclose(file);
  }
}

bool DataFilePath(std::string_view name, std::string& path) {
  name = Trimmed(name);
  if (name.empty() || name.find('\0') != std::string_view::npos) return false;
  path.assign(name);
  return true;
}

int OpenDataFile(Context& ctx, int& unit, std::string_view name, std::string_view form,
                 std::string_view disposition) {
  if (unit < 0 || unit >= kMaxDataUnits) return Fail(ctx, unit, EBADF);
  CloseDataFile(ctx, unit);
  std::string path;
  if (!DataFilePath(name, path)) return Fail(ctx, unit, ENOENT);
  if (!IsKnownForm(form)) return Fail(ctx, unit, EINVAL);
  disposition = Trimmed(disposition);
  int flags = 0;
  const char* mode = nullptr;
  if (EqualsIgnoringCase(disposition, "OLD")) {
    flags = O_RDONLY;
    mode = "rb";
  } else if (EqualsIgnoringCase(disposition, "UNKNOWN")) {
    flags = O_RDWR | O_CREAT;
    mode = "r+b";
  } else {
    return Fail(ctx, unit, EINVAL);
  }
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return Fail(ctx, unit, errno);
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Fail(ctx, unit, EISDIR);
  }
  std::FILE* file = ::fdopen(fd, mode);
  if (!file) {
    const int error = errno;
    ::close(fd);
    return Fail(ctx, unit, error);
  }
  ctx.units[unit] = file;
  return 0;
}

std::FILE* DataFile(Context& ctx, int unit) {
  return unit >= 0 && unit < kMaxDataUnits ? ctx.units[unit] : nullptr;
}

bool CloseDataFile(Context& ctx, int unit) {
  std::FILE* file = DataFile(ctx, unit);
  if (!file) return true;
  ctx.units[unit] = nullptr;
  return std::fclose(file) == 0;
}

}  // namespace kavi::numerics
