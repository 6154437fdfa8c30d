#pragma once

#include "model/treno.h"
#include "model/voce_binario.h"

#include <array>
#include <string>
#include <vector>

namespace zeb {

inline constexpr int kTrackSlots = 26;      // slots 0-22 numbered tracks, 23-25 stub tracks
inline constexpr int kMaxChosenTracks = 23; // the station dialog's limit
inline constexpr int kMaxTrains = 2001;     // stored trains at the most

// The one scenario being edited, shared by every window.
//
// `treni` has one record more than the most trains it can store, so that the new-train slot
// `treni[totale_treni]` exists even when the table is full and no routine indexes outside it.
struct Scenario {
    std::string nome_stazione;
    std::string ora_inizio;
    std::string min_inizio;
    int numero_binari = 0; // valid entries of tabella_binari
    std::array<bool, kTrackSlots> binari_scelti{};
    std::array<VoceBinario, kTrackSlots> tabella_binari{};
    std::vector<Treno> treni = std::vector<Treno>(kMaxTrains + 1);
    int totale_treni = 0;
    int treno_attuale = 0; // the shown train; totale_treni while none is shown
    int treno_in_uso = 0;  // the record the category and subsidiary conversions work on
    std::string nome_file;
    std::string nome_file_carica;

    // The station dialog's count of chosen tracks. It belongs to the dialog but outlives it,
    // and the loader and the closing of a scenario set it, so it is kept with the scenario.
    int conta_binari = 0;

    bool isFull() const { return totale_treni >= kMaxTrains; }
};

} // namespace zeb
