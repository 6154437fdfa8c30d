#pragma once

#include <cstdint>
#include <string>

namespace zeb {

// The locks of the recovery copies, held as long as their editor runs and let go by the system
// when it ends; each system its own way (recovery_locks_posix.cpp, recovery_locks_windows.cpp).

// An open, locked lock file; kNoLock for none.
using LockHandle = std::intptr_t;
inline constexpr LockHandle kNoLock = -1;

// True while another running editor holds the lock file `lock`.
bool lockHeldByAnother(const std::string& lock);
// A new lock file at `lock`, never seen unlocked by another editor; kNoLock when `lock` exists
// already (`exists` is then set) or cannot be made. `made` is told once it is locked, before it
// is in place.
LockHandle makeLockedFile(const std::string& lock, bool& exists, void (*made)(const std::string&));
// The lock `lock`, held: the one there when nobody holds it, else a new one; kNoLock when another
// editor holds it.
LockHandle claimLock(const std::string& lock, void (*made)(const std::string&));
// Lets the lock go; removes its file first where `removing`.
void releaseLock(LockHandle handle, const std::string& lock, bool removing);

// Renames `from` to `to` unless `to` exists; false, with errno EEXIST where it does.
bool renameNoReplace(const std::string& from, const std::string& to);
// Makes the folder and those above it, for this user alone where the system says so.
void makeFolders(const std::string& path);
// Where the copies go when the user names no folder.
std::string defaultRecoveryFolder();

} // namespace zeb
