#include "scenario_file/text_limits.h"

#include "model/counted.h"
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

template <std::size_t N> TextMeasure measured(const std::array<NamedText, N>& texts) {
    TextMeasure measure;
    for (const auto& [field, text] : texts) {
        measure.bytes += text.size();
        if (text.size() > kMaxTextBytes && !measure.oversizedField)
            measure.oversizedField = field;
    }
    return measure;
}

} // namespace

std::string trackLineValue(const Scenario& s) {
    std::string names;
    const int entries = std::clamp(s.numero_binari, 0, kTrackSlots);
    for (int k = 0; k < entries; ++k)
        names.append(s.tabella_binari[k].nome).push_back(',');
    return names + ".";
}

TextMeasure measureStationTexts(const Scenario& s) {
    return measured(stationTexts(s, trackLineValue(s)));
}

TextMeasure measureTrainTexts(const Treno& t) {
    // The sizes alone first: the names are needed only when a text is too long.
    const std::string* texts[] = {
        &t.numero,     &t.destinazione,       &t.provenienza,  &t.categoria, &t.ora_arrivo,
        &t.min_arrivo, &t.ora_partenza,       &t.min_partenza, &t.binario,   &t.ritardo,
        &t.fermate,    &t.codice_sussidiaria, &t.note};
    std::size_t bytes = 0;
    std::size_t longest = 0;
    for (const std::string* text : texts) {
        bytes += text->size();
        longest = std::max(longest, text->size());
    }
    if (longest <= kMaxTextBytes && !isCategoriaSenzaBinario(t.categoria))
        return {bytes, std::nullopt};
    return measured(trainTexts(t));
}

std::size_t storedTextBytes(const Scenario& s) {
    std::size_t bytes = measureStationTexts(s).bytes;
    for (int i = 0; i < s.totale_treni; ++i)
        bytes += measureTrainTexts(s.treni[static_cast<std::size_t>(i)]).bytes;
    return bytes;
}

std::optional<std::string> appendRefusal(const Scenario& base, const std::vector<Treno>& trains,
                                         long counted, std::string_view subject,
                                         std::string_view advice) {
    const int room = kMaxTrains - base.totale_treni;
    if (counted > room)
        return std::string(subject) + " " + countedTrains(counted) + ", ma nello scenario " +
               roomText(room) + " (al massimo " + std::to_string(kMaxTrains) + ")" +
               std::string(advice);
    std::size_t bytes = storedTextBytes(base);
    for (const Treno& t : trains) {
        const TextMeasure measure = measureTrainTexts(t);
        if (measure.oversizedField)
            return "Il treno " + t.numero + " ha un testo troppo lungo per il file scenario (" +
                   std::string(*measure.oversizedField) + ")";
        bytes += measure.bytes;
    }
    if (bytes > kMaxScenarioTextBytes)
        return "Con questi treni i testi dello scenario supererebbero i " +
               std::to_string(kMaxScenarioTextBytes >> 20) +
               " MB che il file scenario può contenere";
    return std::nullopt;
}

} // namespace zeb
