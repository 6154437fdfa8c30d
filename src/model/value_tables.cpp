#include "model/value_tables.h"

#include <string>

namespace zeb {

bool isCategoriaSenzaBinario(std::string_view categoria) {
    return categoria == "Autobus" || categoria == "Eurostar Link";
}

std::optional<int> listPosition(std::string_view text, int count) {
    for (int i = 0; i < count; ++i) {
        if (text == std::to_string(i))
            return i;
    }
    return std::nullopt;
}

} // namespace zeb
