#pragma once

#include <cstdio>
#include <string>

namespace zeb::bench {

// Appends a line of a generated feed, printf-style: feeds of millions of lines are written
// without a stream.
template <typename... Values>
void appendLine(std::string& out, const char* format, Values... values) {
    char line[128];
    const int n = std::snprintf(line, sizeof line, format, values...);
    out.append(line, static_cast<std::size_t>(n));
}

} // namespace zeb::bench
