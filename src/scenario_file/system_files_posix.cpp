// The file calls of Linux and the other POSIX systems; system_files_windows.cpp is its twin.
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/system_files.h"
#include "scenario_file/text_limits.h"

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zeb {

namespace {

// At most this many links are followed, as the system does, so that a loop of links ends.
constexpr int kMostLinks = 40;

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

class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { close(fd_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

private:
    int fd_;
};

// Reads at most kMaxFileBytes + 1 bytes, so that a larger file is noticed without holding it.
std::string readBounded(int fd, std::size_t expectedSize) {
    std::string bytes;
    bytes.reserve(expectedSize + 1);
    char buffer[65536];
    while (true) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ScenarioFileError::fromErrno(errno);
        }
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > kMaxFileBytes)
            throw ScenarioFileError(FormatError::FileTooLarge, fileTooLargeText());
    }
}

} // namespace

long currentProcessId() {
    return static_cast<long>(getpid());
}

bool processRunning(long pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

int writeNewFile(const std::string& name, const std::string& bytes,
                 const std::string& permissionsOf) {
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int error = 0;
    if (fchmod(fd, permissionsFor(permissionsOf)) != 0)
        error = errno;
    else if (const int failed = writeAll(fd, bytes); failed != 0)
        error = failed;
    else if (fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        unlink(name.c_str());
    return error;
}

int moveOver(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void removeFile(const std::string& name) {
    unlink(name.c_str());
}

FileKind fileKindOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return FileKind::Absent;
    return S_ISDIR(info.st_mode)   ? FileKind::Folder
           : S_ISREG(info.st_mode) ? FileKind::Regular
                                   : FileKind::Other;
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

std::string readScenarioFile(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throw ScenarioFileError::fromErrno(errno, path);
    const FileHandle file(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0)
        throw ScenarioFileError::fromErrno(errno);
    if (S_ISDIR(info.st_mode))
        throw ScenarioFileError::fromErrno(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw ScenarioFileError::notAFile("apre");
    if (static_cast<std::size_t>(info.st_size) > kMaxFileBytes)
        throw ScenarioFileError(FormatError::FileTooLarge, fileTooLargeText());
    return readBounded(fd, static_cast<std::size_t>(info.st_size));
}

} // namespace zeb
