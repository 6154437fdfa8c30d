#include "model/value_tables.h"

#include <string>

namespace zeb {

bool isCategoriaSenzaBinario(std::string_view categoria) {
    return categoria == "Autobus" || categoria == "Eurostar Link";
}

std::optional<int> listPosition(std::string_view text, int count) {
    // Decimal digits without a leading zero, read without making any text.
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= count)
        return std::nullopt;
    return value;
}

} // namespace zeb
