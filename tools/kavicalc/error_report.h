// The one line the tool writes to standard error when it gives up.
#pragma once

#include <string>

#include "call_failure.h"
#include "usage_error.h"

namespace kavi::tool {

// "kavicalc: SOURCE: DESCRIPTION (0xHRESULT)"
void ReportFailure(const CallFailure& failure);
// "SOURCE: DESCRIPTION (0xHRESULT)", on one line.
std::string FailureText(const CallFailure& failure);
// "kavicalc: warning: TEXT"
void ReportWarning(const std::string& text);
// "kavicalc: MESSAGE (see 'kavicalc COMMAND --help')"
void ReportUsageError(const UsageError& error);

// The text on one line: line breaks and other control characters become blanks.
std::string OneLine(const std::string& text);

}  // namespace kavi::tool
