#include "component/server_lock.h"

#include <atomic>

namespace kavi::component {

namespace {
std::atomic<long> lockCount{0};
}

void LockModule() { lockCount.fetch_add(1); }
void UnlockModule() { lockCount.fetch_sub(1); }
long ModuleLockCount() { return lockCount.load(); }

}  // namespace kavi::component
