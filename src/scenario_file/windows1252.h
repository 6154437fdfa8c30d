#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// Scenario files are 8-bit Windows-1252 text; the program holds text as UTF-8.
// Every byte maps: the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 controls U+0081 etc., so any file's bytes survive a load and a save.

std::string windows1252ToUtf8(std::string_view bytes);
// The same into `out`, whose storage is reused where it is large enough.
void assignWindows1252AsUtf8(std::string& out, std::string_view bytes);

// True when `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

// The Windows-1252 bytes of UTF-8 `text`, or nullopt when it holds a character the code page
// cannot hold (or is not valid UTF-8).
std::optional<std::string> utf8ToWindows1252(std::string_view text);
// The same appended to `out`; false, with `out` partly extended, where utf8ToWindows1252 fails.
bool appendAsWindows1252(std::string& out, std::string_view text);

} // namespace zeb
