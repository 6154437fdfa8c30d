#include "scenario_file/line_source.h"

#include "scenario_file/file_limits.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/windows1252.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeb {

namespace {

const std::string kTooLarge =
    "Il file è più grande di " + std::to_string(kMaxFileBytes) + " byte: non è un file scenario";

// Reads at most kMaxFileBytes + 1 bytes, so that a larger file is noticed without holding it.
std::string readBounded(int fd) {
    std::string bytes;
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
            throw ScenarioFileError(FormatError::FileTroppoGrande, kTooLarge);
    }
}

} // namespace

LineSource::LineSource(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ScenarioFileError::fromErrno(errno);
    struct stat info {};
    try {
        if (fstat(fd, &info) != 0)
            throw ScenarioFileError::fromErrno(errno);
        if (S_ISDIR(info.st_mode))
            throw ScenarioFileError::fromErrno(EISDIR);
        if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > kMaxFileBytes)
            throw ScenarioFileError(FormatError::FileTroppoGrande, kTooLarge);
        bytes_ = readBounded(fd);
    } catch (...) {
        close(fd);
        throw;
    }
    close(fd);
}

std::string LineSource::next(const std::string& expected) {
    if (atEnd())
        throw ScenarioFileError(FormatError::FineFileInattesa,
                                "Riga " + std::to_string(line_ + 1) +
                                    ": il file finisce, ma era attesa " + expected);
    ++line_;
    std::size_t end = bytes_.find('\n', pos_);
    const std::size_t next = end == std::string::npos ? bytes_.size() : end + 1;
    if (end == std::string::npos)
        end = bytes_.size();
    if (end > pos_ && bytes_[end - 1] == '\r')
        --end;
    if (end - pos_ > kMaxLineBytes)
        throw ScenarioFileError(FormatError::RigaTroppoLunga, where() + "la riga è più lunga di " +
                                                                  std::to_string(kMaxLineBytes) +
                                                                  " caratteri");
    std::string line = windows1252ToUtf8(std::string_view(bytes_).substr(pos_, end - pos_));
    pos_ = next;
    return line;
}

std::string LineSource::where() const {
    return "Riga " + std::to_string(line_) + ": ";
}

} // namespace zeb
