// The memory that this process holds in RAM, as the kernel counts it.
#pragma once

namespace kavi::test {

// The resident set size of this process in bytes (from /proc/self/statm);
// -1 when it cannot be read.
long ResidentBytes();

}  // namespace kavi::test
