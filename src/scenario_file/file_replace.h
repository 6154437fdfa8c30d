#pragma once

#include <string>
#include <string_view>

namespace zeb {

// Writes `bytes` to `path` so that the old file is either replaced whole or left untouched:
// the bytes go to a temporary file in the same folder, which is synced and then renamed over
// the target. On failure the temporary file is removed and ScenarioFileError (with errno) is
// thrown. A new file gets the usual permissions; a replaced one keeps its own.
//
// The temporary file is named after the target and the writing process (".NAME.zeb-save-PID-
// XXXXXX"), so that a later save of the same file removes what a writer that was killed left,
// and never touches the temporary files of other targets or of writers still running.
void replaceFileContents(const std::string& path, const std::string& bytes);

// The file a save of `path` writes: `path` itself, or the file its symbolic links lead to (the
// chain followed to its end, also where that file does not exist yet).
std::string savedTarget(const std::string& path);

// A file's new contents, written and synced beside it, that take its place at commit(): two files
// saved as one are both written before either is replaced. The target is `path` with its links
// resolved once; anything there that is not a regular file (a folder, a FIFO, a device, a socket)
// is refused, before anything is written. A replacement never committed is removed, the old
// file left as it was. Throws ScenarioFileError.
class PendingReplacement {
public:
    PendingReplacement(const std::string& path, const std::string& bytes);
    ~PendingReplacement();
    PendingReplacement(const PendingReplacement&) = delete;
    PendingReplacement& operator=(const PendingReplacement&) = delete;

    void commit();
    const std::string& target() const { return target_; }

private:
    std::string target_;
    std::string temporary_;
};

// The start of the names of the temporary files of the file named `name`: the whole name up to
// 200 bytes, else its first 100 and a digest of the whole, so that two names never share it and
// cleaning one file's leftovers never touches another's.
std::string temporaryPrefix(const std::string& name);

// A digest of `bytes` as 16 hexadecimal digits (FNV-1a, 64 bits): the same on every machine.
std::string digestText(std::string_view bytes);

// Removes the temporary files in `folder` left by writers that are no longer running: those of
// the file named `name`, or, for an empty `name`, of every file.
void removeLeftoverTemporaries(const std::string& folder, const std::string& name);

} // namespace zeb
