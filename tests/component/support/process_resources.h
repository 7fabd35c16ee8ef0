// What this process holds, as the kernel counts it: memory in RAM and open
// file descriptors.
#pragma once

namespace kavi::test {

// The resident set size of this process in bytes (from /proc/self/statm),
// after the allocator has handed back the free memory it keeps, so that the
// count follows what is allocated rather than where the heap's top happens
// to lie; -1 when it cannot be read.
long ResidentBytes();

// The number of open file descriptors of this process (/proc/self/fd).
int OpenFileCount();

}  // namespace kavi::test
