#include "support/resident_memory.h"

#include <unistd.h>

#include <fstream>

namespace kavi::test {

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long sizePages = 0;
  long residentPages = 0;
  if (!(statm >> sizePages >> residentPages)) return -1;
  return residentPages * sysconf(_SC_PAGESIZE);
}

}  // namespace kavi::test
