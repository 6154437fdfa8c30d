// The recovery copies' locks on Windows: a lock file open for this editor alone, locked with
// LockFileEx, so that another editor cannot even open it while its editor runs; the system closes
// it when the editor ends, however it ends.
#include "recovery/recovery_locks.h"

#include "scenario_file/file_paths.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

namespace zeb {

namespace {

HANDLE openAlone(const std::string& lock, DWORD disposition) {
    return CreateFileW(pathOf(lock).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

LockHandle locked(HANDLE file) {
    OVERLAPPED start{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        CloseHandle(file);
        return kNoLock;
    }
    return reinterpret_cast<LockHandle>(file);
}

} // namespace

bool lockHeldByAnother(const std::string& lock) {
    const HANDLE file = openAlone(lock, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

LockHandle makeLockedFile(const std::string& lock, bool& exists, void (*made)(const std::string&)) {
    // Made and opened in one step, for this editor alone: nobody finds it unlocked.
    const HANDLE file = openAlone(lock, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        exists = error == ERROR_FILE_EXISTS || error == ERROR_SHARING_VIOLATION;
        return kNoLock;
    }
    made(lock);
    return locked(file);
}

LockHandle claimLock(const std::string& lock, void (*made)(const std::string&)) {
    const HANDLE file = openAlone(lock, OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return kNoLock;
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        made(lock);
    return locked(file);
}

void releaseLock(LockHandle handle, const std::string&, bool removing) {
    const auto file = reinterpret_cast<HANDLE>(handle);
    if (removing) {
        FILE_DISPOSITION_INFO gone{TRUE};
        SetFileInformationByHandle(file, FileDispositionInfo, &gone, sizeof gone);
    }
    CloseHandle(file);
}

bool renameNoReplace(const std::string& from, const std::string& to) {
    if (MoveFileExW(pathOf(from).c_str(), pathOf(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    errno = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST : EIO;
    return false;
}

void makeFolders(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(pathOf(path), ignored);
}

// %LOCALAPPDATA%\zebrano-editor\recupero, the user's own folder on this computer.
std::string defaultRecoveryFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    const std::filesystem::path base = local != nullptr && local[0] != L'\0'
                                           ? std::filesystem::path(local)
                                           : std::filesystem::temp_directory_path();
    return utf8Of(base / "zebrano-editor" / "recupero");
}

} // namespace zeb
