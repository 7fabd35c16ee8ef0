// Writes a file by way of a temporary file beside it that is renamed over the
// target once complete: readers never see a half-written file, and a write
// that fails leaves an existing file as it was.
#pragma once

#include <cstddef>
#include <string>

namespace kavi::numerics {

class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  // Removes the temporary file unless Commit succeeded.
  ~ReplacementFile();

  // Creates the temporary file in the target's folder (with the target's
  // permissions when it exists). A target that exists and is not a regular
  // file (a device or pipe) is opened and written directly instead. False
  // when the file cannot be created or opened.
  bool Open(const std::string& target);
  // Appends to the temporary file. False on a write failure.
  bool Write(const char* data, std::size_t size);
  // Writes the data to disk and renames the temporary file over the target.
  // False (and the temporary file removed) when any step fails.
  bool Commit();

 private:
  void Discard();

  int fd_ = -1;
  bool failed_ = false;
  std::string target_;
  std::string temporary_;
};

}  // namespace kavi::numerics
