#include "error_report.h"

#include <cstdint>
#include <cstdio>

namespace kavi::tool {

std::string OneLine(const std::string& text) {
  std::string line = text;
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

void ReportFailure(const CallFailure& failure) {
  std::fprintf(stderr, "kavicalc: %s: %s (0x%08X)\n", OneLine(failure.source()).c_str(),
               OneLine(failure.description()).c_str(),
               static_cast<unsigned>(static_cast<std::uint32_t>(failure.code())));
}

void ReportUsageError(const UsageError& error) {
  const std::string help =
      error.command().empty() ? "kavicalc --help" : "kavicalc " + error.command() + " --help";
  std::fprintf(stderr, "kavicalc: %s (see '%s')\n", OneLine(error.what()).c_str(), help.c_str());
}

}  // namespace kavi::tool
