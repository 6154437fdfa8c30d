#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// Ids of a feed (stops, trips) to their positions: an open-addressing table whose probes stay in
// one array, since stop_times asks it millions of times. The ids lie one after another in one
// text, and a slot is 16 bytes: a feed of a million trips costs what its ids do and little more.
class TextIndex {
public:
    // Adds `key`; false, leaving the table as it was, when it is there already.
    bool insert(std::string_view key, int value);
    // The position of `key`, or -1.
    int find(std::string_view key) const;
    std::size_t size() const { return count_; }

private:
    struct Slot {
        std::uint32_t hash = 0;  // where it is looked for first, and told apart by
        std::int32_t value = -1; // -1: empty
        std::uint64_t place = 0; // the key's offset in keys_ and its length, see keyOf
    };
    static std::uint32_t hashOf(std::string_view key);
    std::string_view keyOf(const Slot& slot) const;
    void grow();

    std::vector<Slot> slots_;
    std::string keys_;
    std::size_t count_ = 0;
};

} // namespace zeb
