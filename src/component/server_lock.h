// The server's lock count: live component objects, live result objects,
// enumerators and explicit LockServer locks. The library may be unloaded only
// when it is zero.
#pragma once

namespace kavi::component {

void LockModule();
void UnlockModule();
long ModuleLockCount();

// Holds one module lock for the life of the owning object.
class ModuleLock {
 public:
  ModuleLock() { LockModule(); }
  ~ModuleLock() { UnlockModule(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace kavi::component
