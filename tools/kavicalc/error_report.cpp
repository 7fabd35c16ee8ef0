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

std::string FailureText(const CallFailure& failure) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X",
                static_cast<unsigned>(static_cast<std::uint32_t>(failure.code())));
  return OneLine(failure.source()) + ": " + OneLine(failure.description()) + " (" + code + ")";
}

void ReportFailure(const CallFailure& failure) {
  std::fprintf(stderr, "kavicalc: %s\n", FailureText(failure).c_str());
}

void ReportWarning(const std::string& text) {
  std::fprintf(stderr, "kavicalc: warning: %s\n", OneLine(text).c_str());
}

void ReportUsageError(const UsageError& error) {
  const std::string help =
      error.command().empty() ? "kavicalc --help" : "kavicalc " + error.command() + " --help";
  std::fprintf(stderr, "kavicalc: %s (see '%s')\n", OneLine(error.what()).c_str(), help.c_str());
}

}  // namespace kavi::tool
