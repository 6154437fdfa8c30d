#pragma once

#include "text/numbers.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <vector>

namespace zeb {

// "0,2" or "60,30,10", an option's whole numbers from `least` to `most` separated by commas, or
// nullopt.
inline std::optional<std::vector<int>> wholeNumbers(std::string_view text, int least,
                                                    int most = INT_MAX) {
    std::vector<int> values;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const auto value = wholeNumber(text.substr(at, comma - at));
        if (!value || *value < least || *value > most)
            return std::nullopt;
        values.push_back(*value);
        at = comma + 1;
    }
    return values;
}

} // namespace zeb
