#include "timetable/posters.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <climits>

namespace zeb {

namespace {

// The subsidiary indication where it says something, then the notes.
std::string notesOf(const Treno& t) {
    std::string out = t.sussidiaria == kSussidiarie[0] ? std::string() : t.sussidiaria;
    if (!t.note.empty())
        out += (out.empty() ? "" : " - ") + t.note;
    return out;
}

Poster posterOf(const Scenario& s, bool departures) {
    Poster poster;
    poster.title = departures ? "Partenze" : "Arrivi";
    poster.station = s.nome_stazione;
    poster.departures = departures;
    poster.heads =
        departures
            ? std::vector<std::string>{"Ora",     "Treno", "Destinazione", "Principali fermate",
                                       "Binario", "Note"}
            : std::vector<std::string>{"Ora", "Treno", "Provenienza", "Binario", "Note"};
    struct Entry {
        int minute;
        int train;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        if (departures ? hasDeparture(t) : hasArrival(t))
            entries.push_back(
                {(departures ? departureMinute(t) : arrivalMinute(t)).value_or(INT_MAX), i});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.minute < b.minute; });
    for (const Entry& entry : entries) {
        const Treno& t = s.treni[entry.train];
        const std::string time = entry.minute != INT_MAX ? clockText(entry.minute)
                                 : departures            ? t.ora_partenza + ":" + t.min_partenza
                                                         : t.ora_arrivo + ":" + t.min_arrivo;
        const std::string track = isCategoriaSenzaBinario(t.categoria) ? "" : t.binario;
        const std::string train = t.categoria + " " + t.numero;
        if (departures)
            poster.rows.push_back(
                {time, train, t.destinazione, principalStops(t.fermate), track, notesOf(t)});
        else
            poster.rows.push_back({time, train, t.provenienza, track, notesOf(t)});
        poster.timeToCheck.push_back(entry.minute == INT_MAX);
        poster.trackToCheck.push_back(!isCategoriaSenzaBinario(t.categoria) &&
                                      !hasStationTrack(s, t.binario));
    }
    return poster;
}

} // namespace

std::string principalStops(const std::string& fermate) {
    std::string_view stops = stopsWithoutFine(fermate);
    std::string out;
    while (!stops.empty()) {
        const auto comma = stops.find(',');
        const std::string stop(trimmedOf(stops.substr(0, comma), " "));
        if (!stop.empty())
            out += (out.empty() ? "" : " - ") + stop;
        stops = comma == std::string_view::npos ? std::string_view() : stops.substr(comma + 1);
    }
    return out;
}

Poster departuresPoster(const Scenario& s) {
    return posterOf(s, true);
}

Poster arrivalsPoster(const Scenario& s) {
    return posterOf(s, false);
}

} // namespace zeb
