#include "scenario_file/file_replace.h"

#include "scenario_file/file_paths.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/system_files.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>

namespace zeb {

namespace {

constexpr std::string_view kTemporaryMark = ".zeb-save-";
// A name up to this long goes whole into its temporaries' names, which stay within the 255 bytes
// a file name may have; a longer one by its start and a digest of the whole.
constexpr std::size_t kNameInTemporary = 200;
// Names tried for a temporary file before the folder is taken to refuse new files.
constexpr int kTemporaryTries = 100;

std::string baseName(const std::string& path) {
    return utf8Of(pathOf(path).filename());
}

// The writer of a temporary file ".NAME.zeb-save-PID-XXXXXX", or 0 for another name.
long writerOf(std::string_view entry) {
    const auto mark = entry.rfind(kTemporaryMark);
    if (entry.empty() || entry[0] != '.' || mark == std::string_view::npos)
        return 0;
    std::string_view rest = entry.substr(mark + kTemporaryMark.size());
    const auto dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || rest.size() - dash != 7)
        return 0;
    long pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 100'000'000)
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Earlier versions named their temporary files without the writer; an hour on, their writers are
// long gone.
bool oldNamelessTemporary(const std::filesystem::directory_entry& entry) {
    const std::string found = utf8Of(entry.path().filename());
    std::error_code unknown;
    return found.size() == kTemporaryMark.size() + 6 && found.starts_with(kTemporaryMark) &&
           entry.symlink_status(unknown).type() == std::filesystem::file_type::regular &&
           entry.last_write_time(unknown) <
               std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
}

std::string randomLetters() {
    static std::mt19937 draw{std::random_device{}()};
    constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string letters(6, ' ');
    for (char& c : letters)
        c = kLetters[draw() % kLetters.size()];
    return letters;
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::string folder = utf8Of(pathOf(path).parent_path());
    return folder.empty() ? "." : folder;
}

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
    const std::string prefix = name.empty() ? std::string() : temporaryPrefix(name);
    std::error_code unreadable;
    for (const auto& entry : std::filesystem::directory_iterator(pathOf(folder), unreadable)) {
        const std::string found = utf8Of(entry.path().filename());
        std::error_code unknown;
        if (name.empty() && oldNamelessTemporary(entry)) {
            std::filesystem::remove(entry.path(), unknown);
            continue;
        }
        if (!found.starts_with(prefix))
            continue;
        const long writer = writerOf(found);
        // A name with another target's name before the mark is that target's.
        const bool ours =
            name.empty() || found.rfind(kTemporaryMark) + kTemporaryMark.size() == prefix.size();
        if (writer > 0 && ours && writer != currentProcessId() && !processRunning(writer))
            std::filesystem::remove(entry.path(), unknown);
    }
}

PendingReplacement::PendingReplacement(const std::string& path, const std::string& bytes)
    : target_(savedTarget(path)) {
    const FileKind kind = fileKindOf(target_);
    if (kind == FileKind::Folder)
        throw ScenarioFileError::fromErrno(EISDIR);
    if (kind == FileKind::Other)
        throw ScenarioFileError::notAFile("sostituisce");

    const std::string folder = folderOf(target_);
    removeLeftoverTemporaries(folder, baseName(target_));
    const std::string start = folder + "/" + temporaryPrefix(baseName(target_)) +
                              std::to_string(currentProcessId()) + "-";
    int error = EEXIST;
    for (int k = 0; k < kTemporaryTries && error == EEXIST; ++k) {
        const std::string name = start + randomLetters();
        error = writeNewFile(name, bytes, target_);
        if (error == 0)
            temporary_ = name;
    }
    if (error != 0)
        throw ScenarioFileError::fromErrno(error, target_);
}

PendingReplacement::~PendingReplacement() {
    if (!temporary_.empty())
        removeFile(temporary_);
}

void PendingReplacement::commit() {
    if (const int error = moveOver(temporary_, target_); error != 0)
        throw ScenarioFileError::fromErrno(error);
    temporary_.clear();
}

void replaceFileContents(const std::string& path, const std::string& bytes) {
    PendingReplacement(path, bytes).commit();
}

} // namespace zeb
