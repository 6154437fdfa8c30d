#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace zeb {

// "1 treno", "2 treni": a count with the word in the number it takes.
inline std::string counted(long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

inline std::string countedTrains(long count) {
    return counted(count, "treno", "treni");
}

// "5 minuti", "1 ora", "1 ora e 50 minuti", "3 ore e 1 minuto": a length of time in words.
inline std::string durationText(int minutes) {
    const int hours = minutes / 60, rest = minutes % 60;
    if (hours == 0)
        return counted(rest, "minuto", "minuti");
    const std::string whole = counted(hours, "ora", "ore");
    return rest == 0 ? whole : whole + " e " + counted(rest, "minuto", "minuti");
}

// "2231, 2233, 2235 e altri 4": the first `shown` of `names`, then how many more there are.
inline std::string firstNames(const std::vector<std::string>& names, std::size_t shown) {
    std::string text;
    for (std::size_t k = 0; k < std::min(shown, names.size()); ++k)
        text += (k == 0 ? "" : ", ") + names[k];
    if (names.size() > shown)
        text += " e altri " + std::to_string(names.size() - shown);
    return text;
}

// "… ma nello scenario ce ne stanno ancora 2": the room left for more trains.
inline std::string roomText(long room) {
    return room == 1 ? "ce ne sta ancora 1" : "ce ne stanno ancora " + std::to_string(room);
}

} // namespace zeb
