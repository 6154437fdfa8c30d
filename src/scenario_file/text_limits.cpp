#include "scenario_file/text_limits.h"

#include "model/value_tables.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zeb {

namespace {

using NamedText = std::pair<std::string_view, std::string_view>;

// An hour and its minute are two texts of one line.
std::array<NamedText, 4> stationTexts(const Scenario& s, const std::string& tracks) {
    return {{{"Stazione di", s.nome_stazione},
             {"Ora inizio simulazione", s.ora_inizio},
             {"Ora inizio simulazione", s.min_inizio},
             {"Numeri binari stazione", tracks}}};
}

// The track of the categories without one is written "99" whatever the record holds.
std::array<NamedText, 13> trainTexts(const Treno& t) {
    const std::string_view binario =
        isCategoriaSenzaBinario(t.categoria) ? kBinarioSenzaBinario : std::string_view(t.binario);
    return {{{"Numero Treno", t.numero},
             {"Destinazione", t.destinazione},
             {"Provenienza", t.provenienza},
             {"Categoria", t.categoria},
             {"Arrivo", t.ora_arrivo},
             {"Arrivo", t.min_arrivo},
             {"Partenza", t.ora_partenza},
             {"Partenza", t.min_partenza},
             {"Binario", binario},
             {"Indice Ritardo", t.ritardo},
             {"Fermate Successive", t.fermate},
             {"Indicazioni Sussidiarie", t.codice_sussidiaria},
             {"Note al treno", t.note}}};
}

template <std::size_t N> std::size_t totalBytes(const std::array<NamedText, N>& texts) {
    std::size_t total = 0;
    for (const auto& named : texts)
        total += named.second.size();
    return total;
}

template <std::size_t N>
std::optional<OversizedText> firstOversized(const std::array<NamedText, N>& texts) {
    for (const auto& [field, text] : texts) {
        if (text.size() > kMaxTextBytes)
            return OversizedText{field};
    }
    return std::nullopt;
}

} // namespace

std::string trackLineValue(const Scenario& s) {
    std::string names;
    const int entries = std::clamp(s.numero_binari, 0, kTrackSlots);
    for (int k = 0; k < entries; ++k)
        names.append(s.tabella_binari[k].nome).push_back(',');
    return names + ".";
}

std::size_t stationTextBytes(const Scenario& s) {
    return totalBytes(stationTexts(s, trackLineValue(s)));
}

std::size_t trainTextBytes(const Treno& t) {
    return totalBytes(trainTexts(t));
}

std::optional<OversizedText> oversizedStationText(const Scenario& s) {
    return firstOversized(stationTexts(s, trackLineValue(s)));
}

std::optional<OversizedText> oversizedTrainText(const Treno& t) {
    return firstOversized(trainTexts(t));
}

} // namespace zeb
