// Folders that refuse new files, made inside a forked child so that the test
// process and everyone else keep their view of the file system. Permission
// bits do not stop root, so as root a private read-only mount is used.
#pragma once

#include <string>

namespace kavi::test {

// True when a new file can be created in folder (a probe file is created and
// removed again).
bool CanCreateFileIn(const std::string& folder);

// Makes folder refuse new files for this process and its children. Not root:
// permission bits 0555 (the parent restores them with RestoreWritable). Root:
// a private mount namespace in which the folder is bind-mounted onto itself
// read-only; nobody outside this process sees the mount. Root that may not
// mount (a container): this process drops the capabilities that override
// permission bits, then the bits as for anyone. Call it in a child process.
// Returns how it was done, or an empty text when no way works here.
std::string MakeFolderReadOnlyHere(const std::string& folder);

// Undoes the permission bits of MakeFolderReadOnlyHere (harmless otherwise).
void RestoreWritable(const std::string& folder);

// Makes the working folder of this process one in which no file can be
// created: `folder` made read-only and entered, or, where no read-only folder
// can be had, a fresh subfolder of it that is entered and then removed (a
// removed working folder takes no new entries, not even from root). Returns
// how it was done, or an empty text on failure.
std::string EnterUnwritableWorkingFolder(const std::string& folder);

}  // namespace kavi::test
