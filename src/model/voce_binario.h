#pragma once

#include <string>

namespace zeb {

// One entry of the track table: the track's name and its position in the editor's track list.
struct VoceBinario {
    std::string nome;
    std::string posizione; // decimal text, also the entry's own index in the table

    bool operator==(const VoceBinario&) const = default;
};

} // namespace zeb
