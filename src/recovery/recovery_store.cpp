#include "recovery/recovery_store.h"

#include "companion/editor_data.h"

#include "recovery/recovery_locks.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/system_files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace zeb {

namespace {

constexpr const char* kCopyPrefix = "sessione-";
constexpr const char* kCopySuffix = ".zeb";
constexpr const char* kLockSuffix = ".lock";

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string lockOf(const std::string& copy) {
    return copy.substr(0, copy.size() - std::string(kCopySuffix).size()) + kLockSuffix;
}

void moment(std::string_view name, const std::string& path) {
    if (const auto& hook = RecoveryStore::testHook())
        hook(name, path);
}

void lockMade(const std::string& lock) {
    moment("lock-locked", lock);
}

// The lock of `copy`, held; kNoLock when another editor holds it.
LockHandle claim(const std::string& copy) {
    return claimLock(lockOf(copy), lockMade);
}

bool exists(const std::string& path) {
    return fileKindOf(path) != FileKind::Absent;
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
    const std::string name = folder_ + "/" + kCopyPrefix + std::to_string(currentProcessId()) +
                             "-" + std::to_string(std::time(nullptr)) + "-" +
                             std::to_string(++stores);
    ownCopy_ = name + kCopySuffix;
    ownLock_ = name + kLockSuffix;
    removeLeftoverTemporaries(folder_, std::string());
    bool exists = false;
    lock_ = makeLockedFile(ownLock_, exists, lockMade);
}

RecoveryStore::~RecoveryStore() {
    if (lock_ != kNoLock)
        releaseLock(lock_, ownLock_, true);
}

std::string RecoveryStore::defaultFolder() {
    return defaultRecoveryFolder();
}

void RecoveryStore::write(const std::string& bytes, const EditorData& editorData) const {
    writeScenarioPair(ownCopy_, bytes, editorData);
}

void RecoveryStore::remove() const {
    removeFile(ownCopy_);
    removeFile(companionPathOf(ownCopy_));
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans() const {
    std::vector<Orphan> found;
    std::error_code unreadable;
    for (const auto& entry : std::filesystem::directory_iterator(pathOf(folder_), unreadable)) {
        const std::string name = utf8Of(entry.path().filename());
        const std::string path = folder_ + "/" + name;
        // The lock of an editor that ended without a copy to keep is of no more use; it goes
        // while this editor holds it.
        if (name.rfind(kCopyPrefix, 0) == 0 && endsWith(name, kLockSuffix) && path != ownLock_) {
            const std::string copy =
                path.substr(0, path.size() - std::string(kLockSuffix).size()) + kCopySuffix;
            if (!exists(copy)) {
                const LockHandle held = claim(copy);
                if (held != kNoLock)
                    releaseLock(held, path, !exists(copy));
            }
            continue;
        }
        // A lock file of an editor killed before it put its lock in place.
        if (const auto fresh = name.rfind("-nuovo-"); fresh != std::string::npos) {
            const long writer = std::atol(name.c_str() + fresh + 7);
            if (writer > 0 && !processRunning(writer))
                removeFile(path);
            continue;
        }
        std::error_code unknown;
        if (name.rfind(kCopyPrefix, 0) != 0 || !endsWith(name, kCopySuffix) || path == ownCopy_ ||
            lockHeldByAnother(lockOf(path)) || !entry.is_regular_file(unknown))
            continue;
        const auto written = std::chrono::file_clock::to_sys(entry.last_write_time(unknown));
        found.push_back({path, std::chrono::system_clock::to_time_t(
                                   std::chrono::time_point_cast<std::chrono::seconds>(written))});
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.modified > b.modified; });
    for (const Orphan& orphan : found)
        moment("orphan-found", orphan.path);
    return found;
}

std::string RecoveryStore::setAside(const std::string& path) const {
    const LockHandle held = claim(path);
    if (held == kNoLock)
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
            moveOver(companionPathOf(path), companionPathOf(aside));
            break;
        }
        if (errno != EEXIST)
            break;
    }
    releaseLock(held, lockOf(path), aside != path);
    return aside;
}

bool RecoveryStore::adopt(const std::string& path) const {
    const LockHandle held = claim(path);
    if (held == kNoLock)
        return false;
    if (moveOver(path, ownCopy_) != 0) {
        releaseLock(held, lockOf(path), false);
        return false;
    }
    removeFile(companionPathOf(ownCopy_)); // none but the copy's own data are to stand beside it
    moveOver(companionPathOf(path), companionPathOf(ownCopy_));
    releaseLock(held, lockOf(path), true);
    return true;
}

} // namespace zeb
