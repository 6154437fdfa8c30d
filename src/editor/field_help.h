#pragma once

#include <optional>
#include <string>

namespace zeb {

struct FieldHelp {
    std::string title;
    std::string message; // lines joined with CR LF
};

// The explanation behind the "?" button `index` (0 to 12), or nullopt for any other index.
std::optional<FieldHelp> fieldHelp(int index);

} // namespace zeb
