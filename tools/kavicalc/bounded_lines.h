// Reading a text file of the user line by line within bounds, so that a
// device or pipe without end (/dev/zero) or a runaway file stops with a clear
// error instead of taking a core or all memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace kavi::tool {

constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;      // 1 MiB
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{2} << 30;  // 2 GiB

class BoundedLines {
 public:
  // name: the file as messages call it.
  BoundedLines(std::istream& in, std::string name, std::string command)
      : in_(in), name_(std::move(name)), command_(std::move(command)) {}

  // The next line without its line end; false at the end of the file. A line
  // over 1 MiB or a file over 2 GiB is a UsageError naming the file and line.
  bool Next(std::string& line);
  // Number of the line last read (from 1).
  long long number() const { return number_; }

 private:
  std::istream& in_;
  std::string name_;
  std::string command_;
  long long number_ = 0;
  std::uint64_t bytes_ = 0;
};

}  // namespace kavi::tool
