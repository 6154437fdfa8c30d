// The recovery copies' locks on Linux and the other POSIX systems: flock on a file that is put in
// place by a link, so that it exists only locked.
#include "recovery/recovery_locks.h"

#include "scenario_file/system_files.h"

#include <stdio.h> // renameat2

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeb {

bool lockHeldByAnother(const std::string& lock) {
    const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false; // no lock file: its editor is gone
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
}

LockHandle makeLockedFile(const std::string& lock, bool& exists, void (*made)(const std::string&)) {
    const std::string fresh = lock + "-nuovo-" + std::to_string(currentProcessId());
    const int fd = open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return kNoLock;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        unlink(fresh.c_str());
        return kNoLock;
    }
    made(lock);
    const bool placed = link(fresh.c_str(), lock.c_str()) == 0;
    exists = !placed && errno == EEXIST;
    unlink(fresh.c_str());
    if (!placed) {
        close(fd);
        return kNoLock;
    }
    return fd;
}

LockHandle claimLock(const std::string& lock, void (*made)(const std::string&)) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            struct stat held {};
            struct stat named {};
            if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 &&
                stat(lock.c_str(), &named) == 0 && held.st_ino == named.st_ino)
                return fd; // still the file under that name: the previous holder did not remove it
            close(fd);
            if (lockHeldByAnother(lock))
                return kNoLock;
            continue;
        }
        bool exists = false;
        if (const LockHandle fresh = makeLockedFile(lock, exists, made); fresh != kNoLock)
            return fresh;
        if (!exists)
            return kNoLock;
    }
    return kNoLock;
}

void releaseLock(LockHandle handle, const std::string& lock, bool removing) {
    if (removing)
        unlink(lock.c_str());
    close(static_cast<int>(handle));
}

bool renameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a link fails where the name is taken.
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    unlink(from.c_str());
    return true;
}

void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            return;
    }
}

// $XDG_STATE_HOME/zebrano-editor/recupero, or ~/.local/state/zebrano-editor/recupero.
std::string defaultRecoveryFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state != nullptr && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "/tmp") + "/.local/state";
    }
    return base + "/zebrano-editor/recupero";
}

} // namespace zeb
