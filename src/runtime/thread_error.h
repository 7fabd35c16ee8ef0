// Error information raised by the runtime itself (registry and activation
// failures), so that a host can tell the user what went wrong and where.
#pragma once

#include <string>

namespace kavi::runtime {

// Makes a new error-information object with this description (UTF-8) the
// calling thread's current one.
void SetThreadError(const std::string& description);

}  // namespace kavi::runtime
