// The scratch work file that large maps spill to. Each calculation gets its own
// file, created exclusively under a unique name in the working directory and
// removed when the object goes out of scope, so two processes working in one
// folder never share one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace kavi::numerics {

class WorkFile {
 public:
  WorkFile() = default;
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;
  ~WorkFile();

  // Creates the file ("vemowork-XXXXXX.tmp" in the working directory).
  // False when it cannot be created.
  bool Create();
  bool IsOpen() const { return file_ != nullptr; }
  // Appends one record. False on a write failure.
  bool Write(const void* data, std::size_t size);
  // Positions at the first record for reading (flushes pending writes).
  bool Rewind();
  // Reads the next record. False at the end or on a short record.
  bool Read(void* data, std::size_t size);
  // Closes and removes the file.
  void Remove();
  const std::string& path() const { return path_; }

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};

}  // namespace kavi::numerics
