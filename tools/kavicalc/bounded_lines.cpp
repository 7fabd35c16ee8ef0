#include "bounded_lines.h"

#include "usage_error.h"

namespace kavi::tool {

bool BoundedLines::Next(std::string& line) {
  line.clear();
  std::streambuf* buffer = in_.rdbuf();
  bool any = false;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in_.setstate(std::ios::eofbit);
      if (!any) return false;
      break;
    }
    any = true;
    if (++bytes_ > kMaxFileBytes)
      throw UsageError(name_ + ": larger than 2 GiB; not a file of this kind", command_);
    if (c == '\n') break;
    if (line.size() == kMaxLineBytes)
      throw UsageError(name_ + ": line " + std::to_string(number_ + 1) +
                           " is longer than 1 MiB; not a file of this kind",
                       command_);
    line += static_cast<char>(c);
  }
  ++number_;
  return true;
}

}  // namespace kavi::tool
