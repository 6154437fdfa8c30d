#include "timetable/delay_draw.h"

#include "model/value_tables.h"

namespace zeb {

namespace {

// FNV-1a over the seed, the number and the minute: no library's hash, so that every machine
// draws alike.
std::uint64_t mixed(std::uint64_t seed, const std::string& number, int scheduled) {
    std::uint64_t hash = 14695981039346656037u;
    auto add = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 1099511628211u;
    };
    for (int k = 0; k < 8; ++k)
        add(static_cast<unsigned char>(seed >> (8 * k)));
    for (char c : number)
        add(static_cast<unsigned char>(c));
    add(static_cast<unsigned char>(scheduled & 0xFF));
    add(static_cast<unsigned char>(scheduled >> 8));
    return hash;
}

} // namespace

int mostDelayOf(const Treno& t) {
    const auto index = positionIn(kRitardi, t.ritardo);
    return index ? kMostDelayMinutes[static_cast<std::size_t>(*index)] : 0;
}

int drawnDelay(std::uint64_t seed, const std::string& number, int scheduled, int most) {
    return most <= 0 ? 0 : static_cast<int>(mixed(seed, number, scheduled) % (most + 1u));
}

} // namespace zeb
