#pragma once

#include "boards/boards.h"

#include <functional>
#include <string>

namespace zeb {

// Writes the boards at a minute to `path` as a PNG picture or a PDF page, by its extension;
// returns why it could not, empty when written.
using BoardsWriter =
    std::function<std::string(const std::string& path, const Scenario& s, const PlayedDay& day,
                              int minute, const BoardSettings& settings)>;

} // namespace zeb
