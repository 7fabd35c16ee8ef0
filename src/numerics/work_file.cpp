#include "numerics/work_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <vector>

namespace kavi::numerics {

WorkFile::~WorkFile() { Remove(); }

bool WorkFile::Create() {
  Remove();
  std::vector<char> name = {'v', 'e', 'm', 'o', 'w', 'o', 'r', 'k', '-', 'X', 'X',
                            'X', 'X', 'X', 'X', '.', 't', 'm', 'p', '\0'};
  const int fd = mkstemps(name.data(), 4);  // O_EXCL with a unique name
  if (fd < 0) return false;
  file_ = fdopen(fd, "w+b");
  if (!file_) {
    close(fd);
    unlink(name.data());
    return false;
  }
  path_ = name.data();
  return true;
}

bool WorkFile::Write(const void* data, std::size_t size) {
  return file_ && std::fwrite(data, 1, size, file_) == size;
}

bool WorkFile::Rewind() {
  if (!file_ || std::fflush(file_) != 0) return false;
  return std::fseek(file_, 0, SEEK_SET) == 0;
}

bool WorkFile::Read(void* data, std::size_t size) {
  return file_ && std::fread(data, 1, size, file_) == size;
}

void WorkFile::Remove() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!path_.empty()) {
    unlink(path_.c_str());
    path_.clear();
  }
}

}  // namespace kavi::numerics
