#pragma once

#include <stdexcept>
#include <string>

namespace zeb {

// A feed that cannot be read: a missing file or column, a broken line, a file past the limits.
// The message names the file, and the line and the column where there is one.
class GtfsError : public std::runtime_error {
public:
    explicit GtfsError(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

} // namespace zeb
