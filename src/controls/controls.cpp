#include "controls/controls.h"

#include "model/value_tables.h"

namespace zeb {

std::string_view firstCharacters(std::string_view text, int count) {
    std::size_t end = 0;
    for (int seen = 0; end < text.size() && seen < count; ++seen) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end; // continuation bytes belong to the same character
    }
    return text.substr(0, end);
}

bool isWholeNumber(std::string_view text) {
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    return isDecimalDigits(text);
}

} // namespace zeb
