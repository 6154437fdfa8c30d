#include "scenario_file/file_replace.h"

#include "scenario_file/scenario_file_error.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zeb {

namespace {

// A symbolic link is followed, so that saving through it updates the file it points at.
std::string resolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

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

} // namespace

void replaceFileContents(const std::string& path, const std::string& bytes) {
    const std::string target = resolvedTarget(path);
    struct stat info {};
    if (stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw ScenarioFileError::fromErrno(EISDIR);

    std::string pattern = folderOf(target) + "/.zeb-save-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
        throw ScenarioFileError::fromErrno(errno);
    const std::string temporary(name.data());

    int fd_open = fd;
    auto fail = [&](int error) {
        if (fd_open >= 0)
            close(fd_open);
        unlink(temporary.c_str());
        throw ScenarioFileError::fromErrno(error);
    };
    if (fchmod(fd, permissionsFor(target)) != 0)
        fail(errno);
    if (const int error = writeAll(fd, bytes); error != 0)
        fail(error);
    if (fsync(fd) != 0)
        fail(errno);
    fd_open = -1;
    if (close(fd) != 0)
        fail(errno);
    if (rename(temporary.c_str(), target.c_str()) != 0)
        fail(errno);
}

} // namespace zeb
