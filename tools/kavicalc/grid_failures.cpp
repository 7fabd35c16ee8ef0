#include "grid_failures.h"

#include <algorithm>
#include <cinttypes>

#include "error_report.h"
#include "number_text.h"

namespace kavi::tool {

namespace {
constexpr std::size_t kShownFailures = 5;

std::string MessageOf(const CallFailure& failure) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08" PRIX32, static_cast<std::uint32_t>(failure.code()));
  const std::string source = OneLine(failure.source());
  return (source.empty() ? "" : source + ": ") + OneLine(failure.description()) + " (" + code + ")";
}
}  // namespace

void GridFailures::Record(std::size_t task, const CallFailure& failure) {
  const std::string text = MessageOf(failure);
  std::lock_guard<std::mutex> lock(mutex_);
  failed_[task] = true;
  const auto known = std::find_if(messages_.begin(), messages_.end(),
                                  [&](const Message& message) { return message.text == text; });
  if (known == messages_.end()) {
    messages_.push_back({text, 1});
  } else {
    ++known->count;
  }
  // The first few in task order, whatever order the threads met them in.
  first_.push_back({task, text});
  std::sort(first_.begin(), first_.end());
  if (first_.size() > kShownFailures) first_.pop_back();
}

std::size_t GridFailures::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<std::size_t>(std::count(failed_.begin(), failed_.end(), true));
}

void GridFailures::Report(std::FILE* err, const std::vector<SiteTask>& tasks,
                          const std::string& out, bool wrote) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [task, text] : first_)
    std::fprintf(err, "kavicalc: node at x %s, y %s, height %s m failed: %s\n",
                 ShortestText(tasks[task].x).c_str(), ShortestText(tasks[task].y).c_str(),
                 ShortestText(tasks[task].height).c_str(), text.c_str());
  const std::size_t failed =
      static_cast<std::size_t>(std::count(failed_.begin(), failed_.end(), true));
  std::fprintf(err, "kavicalc: %zu of %zu node calculations failed%s:\n", failed, tasks.size(),
               wrote ? (" (no values in " + out + ")").c_str() : ", nothing written");
  for (const Message& message : messages_)
    std::fprintf(err, "kavicalc:   %zu × %s\n", message.count, message.text.c_str());
}

}  // namespace kavi::tool
