#include "recovery/recovery_store.h"

#include "scenario_file/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
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

} // namespace

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)) {
    makeFolders(folder_);
    // The process and its start make the name; the count keeps two stores of one process apart.
    static int stores = 0;
    const std::string name = folder_ + "/" + kCopyPrefix + std::to_string(getpid()) + "-" +
                             std::to_string(std::time(nullptr)) + "-" + std::to_string(++stores);
    ownCopy_ = name + kCopySuffix;
    ownLock_ = name + kLockSuffix;
    lockFd_ = open(ownLock_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        close(lockFd_);
        lockFd_ = -1;
    }
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

void RecoveryStore::write(const std::string& bytes) const {
    replaceFileContents(ownCopy_, bytes);
}

void RecoveryStore::remove() const {
    unlink(ownCopy_.c_str());
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans() const {
    std::vector<Orphan> found;
    DIR* dir = opendir(folder_.c_str());
    if (dir == nullptr)
        return found;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const std::string path = folder_ + "/" + name;
        // The lock of an editor that ended without a copy to keep is of no more use.
        if (name.rfind(kCopyPrefix, 0) == 0 && endsWith(name, kLockSuffix) && path != ownLock_) {
            const std::string copy =
                path.substr(0, path.size() - std::string(kLockSuffix).size()) + kCopySuffix;
            if (access(copy.c_str(), F_OK) != 0 && !heldByAnother(copy))
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
    return found;
}

std::string RecoveryStore::setAside(const std::string& path) const {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", std::localtime(&now));
    std::string aside;
    for (int n = 1;; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, n > 1 ? "/non-salvato-%s-%d.zeb" : "/non-salvato-%s.zeb",
                      stamp, n);
        aside = folder_ + name;
        if (access(aside.c_str(), F_OK) != 0)
            break;
    }
    if (std::rename(path.c_str(), aside.c_str()) != 0)
        return path;
    unlink(lockOf(path).c_str());
    return aside;
}

bool RecoveryStore::adopt(const std::string& path) const {
    if (std::rename(path.c_str(), ownCopy_.c_str()) != 0)
        return false;
    unlink(lockOf(path).c_str());
    return true;
}

} // namespace zeb
