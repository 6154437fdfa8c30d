#pragma once

#include <cstddef>
#include <string>

namespace zeb {

// The lines of a scenario file, read whole into memory within the size limit and handed out
// one at a time as UTF-8, with their 1-based line numbers. Lines end in CR LF or in a lone LF.
class LineSource {
public:
    // Throws ScenarioFileError when the file cannot be opened or read, or is too large.
    explicit LineSource(const std::string& path);

    bool atEnd() const { return pos_ >= bytes_.size(); }

    // The next line; at the end of the file throws ScenarioFileError saying that `expected`
    // was still expected.
    std::string next(const std::string& expected);

    // The number of the line that next() returned last.
    int lineNumber() const { return line_; }

    // "Riga N: " for the last line read, to begin an error description.
    std::string where() const;

private:
    std::string bytes_;
    std::size_t pos_ = 0;
    int line_ = 0;
};

} // namespace zeb
