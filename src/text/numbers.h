#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// A whole number written in decimal, sign allowed, nothing else; nullopt for anything else.
inline std::optional<int> signedWholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The same, a few digits read at once: feeds hold millions of them.
inline std::optional<int> wholeNumber(std::string_view text) {
    // Most are a few digits, read here; signs and long numbers by the whole reading.
    if (text.empty() || text.size() > 9)
        return signedWholeNumber(text);
    unsigned value = 0;
    bool digits = true;
    for (const char c : text) {
        const auto digit = static_cast<unsigned>(c - '0');
        digits &= digit <= 9;
        value = value * 10 + digit;
    }
    return digits ? std::optional<int>(static_cast<int>(value)) : signedWholeNumber(text);
}

// "2,4": one decimal, with the Italian comma.
inline std::string oneDecimal(double value) {
    const long tenths = std::lround(value * 10);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

} // namespace zeb
