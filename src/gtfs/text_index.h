#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// Ids of a feed (stops, trips) to their positions: an open-addressing table whose probes stay in
// one array, since stop_times asks it millions of times.
class TextIndex {
public:
    // Adds `key`; false, leaving the table as it was, when it is there already.
    bool insert(std::string_view key, int value);
    // The position of `key`, or -1.
    int find(std::string_view key) const;
    std::size_t size() const { return count_; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        int value = -1; // -1: empty
        std::string key;
    };
    static std::uint64_t hashOf(std::string_view key);
    void grow();

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

} // namespace zeb
