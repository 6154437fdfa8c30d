#include "scenario_file/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zeb {

namespace {

// Code points of the bytes 0x80-0x9F; the rest of the byte range is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Strictly: an overlong form (C0 8A for a line feed), a surrogate or a code point past U+10FFFF
// is malformed, so that no byte the reader splits on can hide in a longer sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    int length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size())
        return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kShortest[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return std::nullopt;
    pos += length;
    return cp;
}

namespace {

std::optional<char> byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

void assignWindows1252AsUtf8(std::string& out, std::string_view bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
    if (ascii) {
        out.assign(bytes);
        return;
    }
    out.clear();
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x80 && byte < 0xA0)
            appendUtf8(out, kHighControls[byte - 0x80]);
        else
            appendUtf8(out, byte);
    }
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    assignWindows1252AsUtf8(out, bytes);
    return out;
}

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!nextCodePoint(text, pos))
            return false;
    }
    return true;
}

bool appendAsWindows1252(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto ascii = std::find_if(text.begin() + pos, text.end(), [](char c) {
            return static_cast<std::uint8_t>(c) >= 0x80;
        });
        const auto asciiEnd = static_cast<std::size_t>(ascii - text.begin());
        out.append(text.substr(pos, asciiEnd - pos));
        pos = asciiEnd;
        if (pos == text.size())
            break;
        auto cp = nextCodePoint(text, pos);
        if (!cp)
            return false;
        auto byte = byteOf(*cp);
        if (!byte)
            return false;
        out += *byte;
    }
    return true;
}

std::optional<std::string> utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    if (!appendAsWindows1252(out, text))
        return std::nullopt;
    return out;
}

bool isWindows1252Character(char32_t cp) {
    const bool control = cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0);
    return !control && byteOf(cp).has_value();
}

std::string blanksForControls(std::string_view text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const auto cp = nextCodePoint(text, pos);
        if (!cp) {
            out += text[pos++];
            continue;
        }
        const bool lineBreak = *cp == '\r' || *cp == '\n';
        const bool control = *cp < 0x20 || *cp == 0x7F || (*cp >= 0x80 && *cp < 0xA0);
        if (control && !(lineBreak && keepLineBreaks))
            out += ' ';
        else
            out.append(text.substr(start, pos - start));
    }
    return out;
}

} // namespace zeb
