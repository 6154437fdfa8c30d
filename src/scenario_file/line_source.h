#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeb {

// The bytes of the file at `path` (a scenario, or a CSV file), read whole within kMaxFileBytes.
// Throws ScenarioFileError when it cannot be opened or read, is too large, or is not a regular
// file; a FIFO or a device is refused before anything is read from it, so the call never blocks.
std::string readScenarioFile(const std::string& path);
// "Il file è più grande di … byte…": why a file too large is not read.
std::string fileTooLargeText();

// The lines of a scenario file's bytes, handed out one at a time with their 1-based numbers, as
// views of the undecoded Windows-1252 bytes. Lines end in CR LF or in a lone LF.
class LineSource {
public:
    explicit LineSource(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }

    // The next line, valid as long as the bytes are; at the end of the file throws
    // ScenarioFileError saying that `expected` was still expected, and on a line longer than
    // kMaxLineBytes throws too.
    std::string_view next(std::string_view expected);

    // "Riga N: " for the last line read, to begin an error description.
    std::string where() const;

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    int line_ = 0;
};

} // namespace zeb
