// The failed calculations of a grid run: counted by message, the first few
// kept with their positions, reported in a few lines at the end.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "call_failure.h"
#include "site_calculations.h"

namespace kavi::tool {

class GridFailures {
 public:
  explicit GridFailures(std::size_t tasks) : failed_(tasks, false) {}

  // Safe to call from several threads.
  void Record(std::size_t task, const CallFailure& failure);
  std::size_t Count() const;

  // The first failures in task order with their positions, then each
  // message with its count; wrote says whether the output was written.
  void Report(std::FILE* err, const std::vector<SiteTask>& tasks, const std::string& out,
              bool wrote) const;

 private:
  struct Message {
    std::string text;
    std::size_t count;
  };
  mutable std::mutex mutex_;
  std::vector<bool> failed_;
  std::vector<Message> messages_;                           // in the order they were first met
  std::vector<std::pair<std::size_t, std::string>> first_;  // task, message
};

}  // namespace kavi::tool
