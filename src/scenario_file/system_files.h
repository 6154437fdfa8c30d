#pragma once

#include <string>

namespace zeb {

// What each system does its own way in the handling of files (system_files_posix.cpp and
// system_files_windows.cpp); the rest is file_replace.cpp and line_source.cpp, the same on both.

// The folder `path` is in: "." for a bare name, "/" for a name at the root.
std::string folderOf(const std::string& path);

// The number of this process, and whether the process of that number is still running.
long currentProcessId();
bool processRunning(long pid);

// Creates the new file `name` (failing where it exists) with `bytes`, flushed to the disk; the
// errno of the failure, else 0. `permissionsOf` is the file whose permissions it takes, where the
// system has them.
int writeNewFile(const std::string& name, const std::string& bytes,
                 const std::string& permissionsOf);

// Puts `from` in the place of `to`, in one step that either happens whole or not at all; the
// errno of the failure, else 0.
int moveOver(const std::string& from, const std::string& to);

// Removes the file, if it is there.
void removeFile(const std::string& name);

// What is at `path`: nothing, a regular file, a folder, or something else (a FIFO, a device).
enum class FileKind { Absent, Regular, Folder, Other };
FileKind fileKindOf(const std::string& path);

} // namespace zeb
