#include "model/track_slots.h"

#include "model/value_tables.h"

#include <algorithm>

namespace zeb {

namespace {
constexpr int kFirstStubSlot = 23;
}

std::string trackName(int slot) {
    if (slot < kFirstStubSlot)
        return std::to_string(slot + 1);
    return std::to_string(slot - kFirstStubSlot + 1) + "tronco";
}

std::string trackCaption(int slot) {
    if (slot < kFirstStubSlot)
        return std::to_string(slot + 1);
    return std::to_string(slot - kFirstStubSlot + 1) + " Tronco";
}

std::optional<int> slotOfTrackName(std::string_view name) {
    for (int slot = 0; slot < kTrackSlots; ++slot) {
        if (trackName(slot) == name)
            return slot;
    }
    return std::nullopt;
}

std::vector<std::string> rebuildTrackTable(Scenario& s) {
    std::vector<std::string> names;
    s.numero_binari = 0;
    for (int slot = 0; slot < kTrackSlots; ++slot) {
        if (!s.binari_scelti[slot])
            continue;
        std::string nome_binari = trackName(slot);
        s.tabella_binari[s.numero_binari] = {nome_binari, std::to_string(s.numero_binari)};
        names.push_back(std::move(nome_binari));
        ++s.numero_binari;
    }
    return names;
}

std::vector<std::string> stationTrackNames(const Scenario& s) {
    std::vector<std::string> names;
    for (int k = 0; k < std::clamp(s.numero_binari, 0, kTrackSlots); ++k)
        names.push_back(s.tabella_binari[k].nome);
    return names;
}

bool hasStationTrack(const Scenario& s, std::string_view name) {
    for (int k = 0; k < std::clamp(s.numero_binari, 0, kTrackSlots); ++k) {
        if (s.tabella_binari[k].nome == name)
            return true;
    }
    return false;
}

bool lacksStationTrack(const Scenario& s, const Treno& t) {
    return !isCategoriaSenzaBinario(t.categoria) && !hasStationTrack(s, t.binario);
}

void Controlla_Binari_2(Scenario& s) {
    const int entries = std::clamp(s.numero_binari, 0, kTrackSlots);
    for (int k = 0; k < entries; ++k) {
        if (auto slot = slotOfTrackName(s.tabella_binari[k].nome))
            s.binari_scelti[*slot] = true;
    }
    s.conta_binari =
        static_cast<int>(std::count(s.binari_scelti.begin(), s.binari_scelti.end(), true));
}

} // namespace zeb
