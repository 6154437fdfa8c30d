#include "gtfs/text_index.h"

namespace zeb {

std::uint64_t TextIndex::hashOf(std::string_view key) {
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a: ids are short
    for (char c : key)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return hash ^ (hash >> 29);
}

bool TextIndex::insert(std::string_view key, int value) {
    if ((count_ + 1) * 2 > slots_.size())
        grow();
    const std::uint64_t hash = hashOf(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.value < 0) {
            slot = Slot{hash, value, std::string(key)};
            ++count_;
            return true;
        }
        if (slot.hash == hash && slot.key == key)
            return false;
    }
}

int TextIndex::find(std::string_view key) const {
    if (slots_.empty())
        return -1;
    const std::uint64_t hash = hashOf(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.value < 0)
            return -1;
        if (slot.hash == hash && slot.key == key)
            return slot.value;
    }
}

void TextIndex::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_ = std::vector<Slot>(old.empty() ? 64 : old.size() * 2);
    count_ = 0;
    const std::size_t mask = slots_.size() - 1;
    for (Slot& slot : old) {
        if (slot.value < 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].value >= 0)
            i = (i + 1) & mask;
        slots_[i] = std::move(slot);
        ++count_;
    }
}

} // namespace zeb
