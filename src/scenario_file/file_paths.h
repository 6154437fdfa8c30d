#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zeb {

// File names are UTF-8 throughout the program. A path built from a plain string would take the
// string in the system's own code page on Windows ("è" as two letters), so every path is built
// and read back through these two.
inline std::filesystem::path pathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace zeb
