#include "recovery/recovery_store.h"

#include "companion/editor_data.h"

#include "scenario_file/file_replace.h"

#include <stdio.h> // renameat2

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace zeb {

namespace {

constexpr const char* kCopyPrefix = "sessione-";
constexpr const char* kCopySuffix = ".zeb";
constexpr const char* kLockSuffix = ".lock";

void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            return;
    }
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string lockOf(const std::string& copy) {
    return copy.substr(0, copy.size() - std::string(kCopySuffix).size()) + kLockSuffix;
}

// True while another running editor holds the lock of `copy`.
bool heldByAnother(const std::string& copy) {
    const int fd = open(lockOf(copy).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false; // no lock file: its editor is gone
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
}

void moment(std::string_view name, const std::string& path) {
    if (const auto& hook = RecoveryStore::testHook())
        hook(name, path);
}

// A new lock file at `lock`, made and locked under a name of its own first, so that it is never
// seen unlocked; -1 when `lock` exists already (`exists` is then set) or cannot be made.
int makeLockedFile(const std::string& lock, bool& exists) {
    const std::string fresh = lock + "-nuovo-" + std::to_string(getpid());
    const int fd = open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        unlink(fresh.c_str());
        return -1;
    }
    moment("lock-locked", lock);
    const bool placed = link(fresh.c_str(), lock.c_str()) == 0;
    exists = !placed && errno == EEXIST;
    unlink(fresh.c_str());
    if (!placed) {
        close(fd);
        return -1;
    }
    return fd;
}

// The lock of `copy`, held: the one there when nobody holds it, else a new one. -1 when another
// editor holds it.
int claim(const std::string& copy) {
    const std::string lock = lockOf(copy);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            struct stat held {};
            struct stat named {};
            if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 &&
                stat(lock.c_str(), &named) == 0 && held.st_ino == named.st_ino)
                return fd; // still the file under that name: the previous holder did not remove it
            close(fd);
            if (heldByAnother(copy))
                return -1;
            continue;
        }
        bool exists = false;
        if (const int made = makeLockedFile(lock, exists); made >= 0)
            return made;
        if (!exists)
            return -1;
    }
    return -1;
}

// Removes the lock file `lock` that `fd` holds, then lets it go.
void releaseRemoving(int fd, const std::string& lock) {
    unlink(lock.c_str());
    close(fd);
}

// Renames `from` to `to` unless `to` exists; errno EEXIST when it does.
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

} // namespace

std::function<void(std::string_view, const std::string&)>& RecoveryStore::testHook() {
    static std::function<void(std::string_view, const std::string&)> hook;
    return hook;
}

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)) {
    makeFolders(folder_);
    // The process and its start make the name; the count keeps two stores of one process apart.
    static int stores = 0;
    const std::string name = folder_ + "/" + kCopyPrefix + std::to_string(getpid()) + "-" +
                             std::to_string(std::time(nullptr)) + "-" + std::to_string(++stores);
    ownCopy_ = name + kCopySuffix;
    ownLock_ = name + kLockSuffix;
    removeLeftoverTemporaries(folder_, std::string());
    bool exists = false;
    lockFd_ = makeLockedFile(ownLock_, exists);
}

RecoveryStore::~RecoveryStore() {
    if (lockFd_ >= 0) {
        unlink(ownLock_.c_str());
        close(lockFd_);
    }
}

std::string RecoveryStore::defaultFolder() {
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

void RecoveryStore::write(const std::string& bytes, const EditorData& editorData) const {
    writeScenarioPair(ownCopy_, bytes, editorData);
}

void RecoveryStore::remove() const {
    unlink(ownCopy_.c_str());
    unlink(companionPathOf(ownCopy_).c_str());
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans() const {
    std::vector<Orphan> found;
    DIR* dir = opendir(folder_.c_str());
    if (dir == nullptr)
        return found;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const std::string path = folder_ + "/" + name;
        // The lock of an editor that ended without a copy to keep is of no more use; it goes
        // while this editor holds it.
        if (name.rfind(kCopyPrefix, 0) == 0 && endsWith(name, kLockSuffix) && path != ownLock_) {
            const std::string copy =
                path.substr(0, path.size() - std::string(kLockSuffix).size()) + kCopySuffix;
            if (access(copy.c_str(), F_OK) != 0) {
                const int fd = claim(copy);
                if (fd >= 0 && access(copy.c_str(), F_OK) != 0)
                    releaseRemoving(fd, path);
                else if (fd >= 0)
                    close(fd);
            }
            continue;
        }
        // A lock file of an editor killed before it put its lock in place.
        if (const auto fresh = name.rfind("-nuovo-"); fresh != std::string::npos) {
            const pid_t writer = std::atoi(name.c_str() + fresh + 7);
            if (writer > 0 && kill(writer, 0) != 0 && errno == ESRCH)
                unlink(path.c_str());
            continue;
        }
        if (name.rfind(kCopyPrefix, 0) != 0 || !endsWith(name, kCopySuffix) || path == ownCopy_ ||
            heldByAnother(path))
            continue;
        struct stat info {};
        if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            found.push_back({path, info.st_mtime});
    }
    closedir(dir);
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.modified > b.modified; });
    for (const Orphan& orphan : found)
        moment("orphan-found", orphan.path);
    return found;
}

std::string RecoveryStore::setAside(const std::string& path) const {
    const int fd = claim(path);
    if (fd < 0)
        return path; // another editor holds it now
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", std::localtime(&now));
    std::string aside = path;
    for (int n = 1; n < 1000; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, n > 1 ? "/non-salvato-%s-%d.zeb" : "/non-salvato-%s.zeb",
                      stamp, n);
        moment("aside-renaming", folder_ + name);
        // Another editor may take a name at any moment: the rename never replaces.
        if (renameNoReplace(path, folder_ + name)) {
            aside = folder_ + name;
            // Its editor's data go along, where there are any: the dated name is its own.
            std::rename(companionPathOf(path).c_str(), companionPathOf(aside).c_str());
            break;
        }
        if (errno != EEXIST)
            break;
    }
    if (aside == path) {
        close(fd);
        return path;
    }
    releaseRemoving(fd, lockOf(path));
    return aside;
}

bool RecoveryStore::adopt(const std::string& path) const {
    const int fd = claim(path);
    if (fd < 0)
        return false;
    if (std::rename(path.c_str(), ownCopy_.c_str()) != 0) {
        close(fd);
        return false;
    }
    unlink(
        companionPathOf(ownCopy_).c_str()); // none but the copy's own data are to stand beside it
    std::rename(companionPathOf(path).c_str(), companionPathOf(ownCopy_).c_str());
    releaseRemoving(fd, lockOf(path));
    return true;
}

} // namespace zeb
