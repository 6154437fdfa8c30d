#include "scenario_file/file_replace.h"

#include "scenario_file/scenario_file_error.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zeb {

namespace {

// At most this many links are followed, as the system does, so that a loop of links ends.
constexpr int kMostLinks = 40;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

mode_t permissionsFor(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Returns 0, or the errno of the failed write.
int writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

constexpr std::string_view kTemporaryMark = ".zeb-save-";
// A name up to this long goes whole into its temporaries' names, which stay within the 255 bytes
// a file name may have; a longer one by its start and a digest of the whole.
constexpr std::size_t kNameInTemporary = 200;

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The writer of a temporary file ".NAME.zeb-save-PID-XXXXXX", or 0 for another name.
pid_t writerOf(std::string_view entry) {
    const auto mark = entry.rfind(kTemporaryMark);
    if (entry.empty() || entry[0] != '.' || mark == std::string_view::npos)
        return 0;
    std::string_view rest = entry.substr(mark + kTemporaryMark.size());
    const auto dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || rest.size() - dash != 7)
        return 0;
    pid_t pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 100'000'000)
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

bool running(pid_t pid) {
    return kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

std::string digestText(std::string_view bytes) {
    std::uint64_t digest = 14695981039346656037u; // FNV-1a
    for (const char c : bytes)
        digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
    return hex;
}

std::string temporaryPrefix(const std::string& name) {
    std::string prefix(1, '.');
    if (name.size() <= kNameInTemporary)
        return prefix.append(name).append(kTemporaryMark);
    return prefix.append(name, 0, 100).append("~").append(digestText(name)).append(kTemporaryMark);
}

void removeLeftoverTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const std::string prefix = name.empty() ? std::string() : temporaryPrefix(name);
    const std::time_t hourAgo = std::time(nullptr) - 3600;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view found = entry->d_name;
        const std::string path = folder + "/" + std::string(found);
        // Earlier versions named their temporary files without the writer; an hour on, their
        // writers are long gone.
        struct stat info {};
        if (name.empty() && found.size() == kTemporaryMark.size() + 6 &&
            found.starts_with(kTemporaryMark) && lstat(path.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode) && info.st_mtime < hourAgo) {
            unlink(path.c_str());
            continue;
        }
        if (!found.starts_with(prefix))
            continue;
        const pid_t writer = writerOf(found);
        // A name with another target's name before the mark is that target's.
        const bool ours =
            name.empty() || found.rfind(kTemporaryMark) + kTemporaryMark.size() == prefix.size();
        if (writer > 0 && ours && writer != getpid() && !running(writer))
            unlink(path.c_str());
    }
    closedir(dir);
}

std::string savedTarget(const std::string& path) {
    std::string target = path;
    struct stat info {};
    for (int k = 0; k < kMostLinks && lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
         ++k) {
        std::vector<char> link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            break;
        const std::string next(link.data(), static_cast<std::size_t>(n));
        target = next[0] == '/' ? next : folderOf(target) + "/" + next;
    }
    return target;
}

PendingReplacement::PendingReplacement(const std::string& path, const std::string& bytes)
    : target_(savedTarget(path)) {
    struct stat info {};
    if (stat(target_.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            throw ScenarioFileError::fromErrno(EISDIR);
        if (!S_ISREG(info.st_mode))
            throw ScenarioFileError::notAFile("sostituisce");
    }

    const std::string folder = folderOf(target_);
    removeLeftoverTemporaries(folder, baseName(target_));
    std::string pattern =
        folder + "/" + temporaryPrefix(baseName(target_)) + std::to_string(getpid()) + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
        throw ScenarioFileError::fromErrno(errno, target_);
    temporary_ = name.data();

    int error = 0;
    if (fchmod(fd, permissionsFor(target_)) != 0)
        error = errno;
    else if (const int failed = writeAll(fd, bytes); failed != 0)
        error = failed;
    else if (fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        unlink(temporary_.c_str());
        throw ScenarioFileError::fromErrno(error);
    }
}

PendingReplacement::~PendingReplacement() {
    if (!temporary_.empty())
        unlink(temporary_.c_str());
}

void PendingReplacement::commit() {
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        throw ScenarioFileError::fromErrno(errno);
    temporary_.clear();
}

void replaceFileContents(const std::string& path, const std::string& bytes) {
    PendingReplacement(path, bytes).commit();
}

} // namespace zeb
