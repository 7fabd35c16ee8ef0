// Memory handed across the interface boundary (returned strings and the like).
#include <kavi/runtime.h>

#include <cstdlib>

namespace kavi {

extern "C" {

void* CoTaskMemAlloc(std::size_t cb) { return std::malloc(cb == 0 ? 1 : cb); }

void CoTaskMemFree(void* pv) { std::free(pv); }

}  // extern "C"

}  // namespace kavi
