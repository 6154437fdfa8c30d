// The file calls of Windows; system_files_posix.cpp is its twin. Names are UTF-8 in the program
// and UTF-16 on the system's calls.
#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/system_files.h"
#include "scenario_file/text_limits.h"

#include <windows.h>

#include <cerrno>

namespace zeb {

namespace {

// Another program (an antivirus, a sync tool) may hold the file for a moment: the replacement is
// tried again for up to this long.
constexpr int kRetries = 20;
constexpr DWORD kRetryMilliseconds = 100;

std::wstring wide(const std::string& utf8) {
    return pathOf(utf8).wstring();
}

// ReplaceFileW refuses relative names under Wine, so both names go whole.
std::wstring wholeWide(const std::string& utf8) {
    std::error_code unknown;
    const std::filesystem::path whole = std::filesystem::absolute(pathOf(utf8), unknown);
    return unknown ? wide(utf8) : whole.wstring();
}

int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

bool heldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

int writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return errnoOf(GetLastError());
        done += written;
    }
    return FlushFileBuffers(file) ? 0 : errnoOf(GetLastError());
}

} // namespace

long currentProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

bool processRunning(long pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return GetLastError() != ERROR_INVALID_PARAMETER; // no such process
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

int writeNewFile(const std::string& name, const std::string& bytes, const std::string&) {
    int error = 0;
    {
        const Handle file(CreateFileW(wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            return errnoOf(GetLastError());
        error = writeAll(file.get(), bytes);
    }
    if (error != 0)
        removeFile(name);
    return error;
}

// A file already there is replaced with ReplaceFileW, which keeps its permissions; a new one is
// moved into place. Both are tried again while another program holds the file.
int moveOver(const std::string& from, const std::string& to) {
    const std::wstring source = wholeWide(from);
    const std::wstring target = wholeWide(to);
    DWORD error = 0;
    for (int k = 0; k < kRetries; ++k) {
        const bool there = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        const bool done = there ? ReplaceFileW(target.c_str(), source.c_str(), nullptr,
                                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                : MoveFileExW(source.c_str(), target.c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (done)
            return 0;
        error = GetLastError();
        if (!heldByAnother(error))
            break;
        Sleep(kRetryMilliseconds);
    }
    return errnoOf(error);
}

void removeFile(const std::string& name) {
    DeleteFileW(wide(name).c_str());
}

FileKind fileKindOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileKind::Absent;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileKind::Folder;
    return attributes & FILE_ATTRIBUTE_DEVICE ? FileKind::Other : FileKind::Regular;
}

// Windows' links are rare on a planner's disk, and the system writes through them itself.
std::string savedTarget(const std::string& path) {
    return path;
}

std::string readScenarioFile(const std::string& path) {
    if (fileKindOf(path) == FileKind::Folder)
        throw ScenarioFileError::fromErrno(EISDIR);
    const Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        throw ScenarioFileError::fromErrno(errnoOf(GetLastError()), path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        throw ScenarioFileError::notAFile("apre");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        throw ScenarioFileError::fromErrno(errnoOf(GetLastError()));
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxFileBytes)
        throw ScenarioFileError(FormatError::FileTooLarge, fileTooLargeText());
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    do {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr))
            throw ScenarioFileError::fromErrno(errnoOf(GetLastError()));
        bytes.append(buffer, n);
        if (bytes.size() > kMaxFileBytes)
            throw ScenarioFileError(FormatError::FileTooLarge, fileTooLargeText());
    } while (n > 0);
    return bytes;
}

} // namespace zeb
