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

// True when `text` is well-formed UTF-8: no overlong form, surrogate or code point past U+10FFFF.
bool isValidUtf8(std::string_view text);
// `cp` appended to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t cp);
// The code point of UTF-8 `text` at `pos`, moving `pos` past it; nullopt, leaving `pos`, where
// the text is not well-formed there. The one decoding every importer and the writer use.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos);

// Whether the code page holds `cp` as a defined character: not a control (C0, DEL, C1) and not
// one of the five bytes it leaves undefined.
bool isWindows1252Character(char32_t cp);
// UTF-8 `text` with every control character (C0, DEL, C1) a blank, line breaks too unless
// `keepLineBreaks`; a sequence that is not UTF-8 stays as it is, for the caller to refuse. How an
// importer cleans a text at the door.
std::string blanksForControls(std::string_view text, bool keepLineBreaks);

// The Windows-1252 bytes of UTF-8 `text`, or nullopt when it holds a character the code page
// cannot hold (or is not valid UTF-8).
std::optional<std::string> utf8ToWindows1252(std::string_view text);
// The same appended to `out`; false, with `out` partly extended, where utf8ToWindows1252 fails.
bool appendAsWindows1252(std::string& out, std::string_view text);

} // namespace zeb
