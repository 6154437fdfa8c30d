#pragma once

#include <string>
#include <string_view>

namespace zeb {

// A value as an error message quotes it: its first 40 characters in «», then "…" where it goes
// on, line breaks shown as "⏎", so that a value of a megabyte never fills a message.
inline std::string quotedBriefly(std::string_view value) {
    std::string out = "«";
    int characters = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if ((byte & 0xC0) != 0x80 && characters++ == 40)
            return out + "…»";
        if (value[i] == '\r' || value[i] == '\n')
            out += value[i] == '\n' || i + 1 == value.size() || value[i + 1] != '\n' ? "⏎" : "";
        else
            out += value[i];
    }
    return out + "»";
}

} // namespace zeb
