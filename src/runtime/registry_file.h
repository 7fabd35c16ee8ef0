// The file that holds the registry, and the locking that lets processes share
// it: readers take a shared lock; a change takes an exclusive lock, re-reads
// the file, applies itself and renames a complete new file into place.
#pragma once

#include <kavi/abi.h>

#include <functional>
#include <string>

#include "registry_tree.h"

namespace kavi::runtime {

// $KAVI_REGISTRY, else $XDG_DATA_HOME/kavicalc/registry, else
// ~/.local/share/kavicalc/registry. Empty when no home folder is known.
std::string RegistryFilePath();

// Loads the registry; a missing file is an empty registry. A file that cannot
// be read or is not a complete registry gives REGDB_E_READREGDB and sets the
// thread's error information.
HRESULT ReadRegistry(RegistryTree& tree);

// Applies change to the current registry under the exclusive lock. change
// returns S_OK to have the result written, S_FALSE when it changed nothing, or
// a failure (nothing written). Write failures give REGDB_E_WRITEREGDB with error
// information; a registry that cannot be read is never overwritten.
HRESULT UpdateRegistry(const std::function<HRESULT(RegistryTree&)>& change);

}  // namespace kavi::runtime
