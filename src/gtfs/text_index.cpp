#include "gtfs/text_index.h"

#include <stdexcept>

namespace zeb {

namespace {

// A key's length takes the low 24 bits of its place (a feed's row is at most 4 MB), its offset
// the 40 above them.
constexpr int kLengthBits = 24;
constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kLengthBits) - 1;

} // namespace

std::uint32_t TextIndex::hashOf(std::string_view key) {
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a: ids are short
    for (char c : key)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::string_view TextIndex::keyOf(const Slot& slot) const {
    return std::string_view(keys_).substr(slot.place >> kLengthBits, slot.place & kLengthMask);
}

bool TextIndex::insert(std::string_view key, int value) {
    if (key.size() > kLengthMask)
        throw std::length_error("id too long for the index");
    if ((count_ + 1) * 2 > slots_.size())
        grow();
    const std::uint32_t hash = hashOf(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.value < 0) {
            slot = Slot{hash, value, std::uint64_t{keys_.size()} << kLengthBits | key.size()};
            keys_.append(key);
            ++count_;
            return true;
        }
        if (slot.hash == hash && keyOf(slot) == key)
            return false;
    }
}

int TextIndex::find(std::string_view key) const {
    if (slots_.empty())
        return -1;
    const std::uint32_t hash = hashOf(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.value < 0)
            return -1;
        if (slot.hash == hash && keyOf(slot) == key)
            return slot.value;
    }
}

void TextIndex::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_ = std::vector<Slot>(old.empty() ? 64 : old.size() * 2);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.value < 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].value >= 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

} // namespace zeb
