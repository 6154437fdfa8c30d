#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zeb {

// The numbers of the format errors of scenario files. They lie above the system's error
// numbers, which the file commands report as they are for I/O failures.
enum class FormatError {
    UnexpectedEnd = 1001,    // the file ends where a line is still expected
    MissingValue = 1002,     // a line without "= " where a value is expected
    InvalidTime = 1003,      // a time without "."
    TracksWithoutEnd = 1004, // a track line without its closing "."
    TooManyTracks = 1005,    // more than 26 track names
    InvalidTrackCount = 1006,
    TooManyTrains = 1007,      // a record past the table's capacity
    ValueNotInList = 1008,     // a category, delay or code the editor's lists cannot show
    LineTooLong = 1009,        // a line, or a text of the scenario, past the limits
    FileTooLarge = 1010,       // a file, or the scenario's texts together, past the limits
    UnsavableCharacter = 1011, // text the 8-bit code page cannot hold
    NotAFile = 1012,           // a FIFO, a device or a socket where a file is expected
};

// A failure of the writer or the reader: a number and a description, shown by the file
// commands as "number description".
class ScenarioFileError : public std::runtime_error {
public:
    ScenarioFileError(int number, const std::string& description);
    ScenarioFileError(FormatError number, const std::string& description);

    // The error of a failed system call, from errno.
    static ScenarioFileError fromErrno(int error);
    // The same for a call on the file at `path`: a missing file and a missing folder said apart.
    static ScenarioFileError fromErrno(int error, const std::string& path);
    // A FIFO, a device or a socket where a file is expected, which the editor does not `what`
    // ("apre", "sostituisce").
    static ScenarioFileError notAFile(const std::string& what);

    int number() const { return number_; }
    const std::string& description() const { return description_; }
    // "number description", whole: what() would stop at a NUL byte of a quoted value.
    std::string message() const { return std::to_string(number_) + " " + description_; }

private:
    int number_;
    std::string description_;
};

// The description of the system's error `error`, in Italian where the file commands meet it.
std::string systemErrorText(int error);

// A value quoted in an error description: its first 40 characters in quotes, then "…" where it
// goes on; control characters are shown as "�" so that the message box shows all of it.
std::string quotedValue(std::string_view utf8);

} // namespace zeb
