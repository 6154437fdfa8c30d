#pragma once

#include <string>

namespace zeb {

// "1 treno", "2 treni": a count with the word in the number it takes.
inline std::string counted(long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

inline std::string countedTrains(long count) {
    return counted(count, "treno", "treni");
}

// "… ma nello scenario ce ne stanno ancora 2": the room left for more trains.
inline std::string roomText(long room) {
    return room == 1 ? "ce ne sta ancora 1" : "ce ne stanno ancora " + std::to_string(room);
}

} // namespace zeb
