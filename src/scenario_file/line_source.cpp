#include "scenario_file/line_source.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/text_limits.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeb {

namespace {

const std::string kTooLarge = "Il file è più grande di " + std::to_string(kMaxFileBytes) +
                              " byte, più di quanto l'editor possa aprire";

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
            throw ScenarioFileError(FormatError::FileTooLarge, kTooLarge);
    }
}

class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { close(fd_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

} // namespace

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
        throw ScenarioFileError(FormatError::FileTooLarge, kTooLarge);
    return readBounded(fd, static_cast<std::size_t>(info.st_size));
}

std::string_view LineSource::next(std::string_view expected) {
    if (atEnd())
        throw ScenarioFileError(FormatError::UnexpectedEnd,
                                "Riga " + std::to_string(line_ + 1) +
                                    ": il file finisce, ma era attesa " + std::string(expected));
    ++line_;
    std::size_t end = bytes_.find('\n', pos_);
    const std::size_t next = end == std::string_view::npos ? bytes_.size() : end + 1;
    if (end == std::string_view::npos)
        end = bytes_.size();
    if (end > pos_ && bytes_[end - 1] == '\r')
        --end;
    if (end - pos_ > kMaxLineBytes)
        throw ScenarioFileError(FormatError::LineTooLong, where() + "la riga è più lunga di " +
                                                              std::to_string(kMaxLineBytes) +
                                                              " caratteri");
    const std::string_view line = bytes_.substr(pos_, end - pos_);
    pos_ = next;
    return line;
}

std::string LineSource::where() const {
    return "Riga " + std::to_string(line_) + ": ";
}

} // namespace zeb
