// Turns the numerical core's status word into an exception.
#pragma once

#include <string>

#include "numerics/context.h"

namespace kavi::model {

// Returns when the status word of the context is 0. Otherwise clears it (so a failure is
// reported once) and throws RuntimeError for codes 2 to 8 with the table's
// message, or FortranException for any other code.
void CheckStatus(numerics::Context& core, const std::string& context);

// The message of a status code, with the edition's prefix.
std::string StatusMessage(int code);

}  // namespace kavi::model
