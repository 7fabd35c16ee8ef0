// Progress of a long run on standard error, shown only when standard error is
// a terminal, so that logs and pipes stay clean.
#pragma once

#include <chrono>
#include <cstddef>

namespace kavi::tool {

class Progress {
 public:
  Progress(const char* what, std::size_t total);
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  ~Progress();  // clears the progress line

  // Shows that done items are finished, with the rate so far and the time
  // the rest will take at that rate.
  void Show(std::size_t done);
  // Clears the progress line, so that a message can be written; the next
  // Show draws it again.
  void Clear();

 private:
  const char* what_;
  std::size_t total_;
  bool active_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace kavi::tool
