#include "timetable/posters.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <set>
#include <string_view>

namespace zeb {

namespace {

// The subsidiary indication where it says something, then the notes.
std::string notesOf(const Treno& t) {
    std::string out = t.sussidiaria == kSussidiarie[0] ? std::string() : t.sussidiaria;
    if (!t.note.empty())
        out += (out.empty() ? "" : " - ") + t.note;
    return out;
}

std::vector<std::string_view> wordsOf(std::string_view name) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t end = std::min(name.find(' ', at), name.size());
        if (end > at)
            words.push_back(name.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// `name` without the words of `shared`, or as it is where nothing would be left.
std::string withoutWords(const std::string& name, const std::set<std::string_view>& shared) {
    std::string out;
    for (std::string_view word : wordsOf(name)) {
        if (!shared.contains(word))
            out.append(out.empty() ? "" : " ").append(word);
    }
    return out.empty() ? name : out;
}

// The places, and the stops (a list separated by " - ") of a departures poster, without the
// words all their names share.
void shortenSharedWords(Poster& poster) {
    const std::size_t stopsColumn = kPosterPlace + 1;
    auto eachName = [&](auto visit) {
        for (auto& cells : poster.rows) {
            visit(cells[kPosterPlace]);
            if (poster.departures) {
                std::string& stops = cells[stopsColumn];
                for (std::size_t at = 0; at <= stops.size();) {
                    const std::size_t end = std::min(stops.find(" - ", at), stops.size());
                    std::string stop = stops.substr(at, end - at);
                    visit(stop);
                    stops.replace(at, end - at, stop);
                    at += stop.size() + 3;
                }
            }
        }
    };
    std::set<std::string> names;
    eachName([&](std::string& name) {
        if (!name.empty())
            names.insert(name);
    });
    if (names.size() < 2)
        return;
    std::set<std::string_view> shared;
    for (std::string_view word : wordsOf(*names.begin()))
        shared.insert(word);
    for (const std::string& name : names) {
        const std::vector<std::string_view> words = wordsOf(name);
        std::erase_if(shared, [&](std::string_view word) {
            return std::find(words.begin(), words.end(), word) == words.end();
        });
    }
    if (shared.empty())
        return;
    eachName([&](std::string& name) {
        if (!name.empty())
            name = withoutWords(name, shared);
    });
}

Poster posterOf(const Scenario& s, TrainEnd end) {
    const bool departures = end == TrainEnd::Departure;
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
        if (hasEnd(t, end))
            entries.push_back({endMinute(t, end).value_or(INT_MAX), i});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.minute < b.minute; });
    for (const Entry& entry : entries) {
        const Treno& t = s.treni[entry.train];
        const std::string time =
            entry.minute != INT_MAX ? clockText(entry.minute) : storedTime(t, end);
        const std::string track = isCategoriaSenzaBinario(t.categoria) ? "" : t.binario;
        const std::string train = t.categoria + " " + t.numero;
        if (departures)
            poster.rows.push_back(
                {time, train, t.destinazione, principalStops(t.fermate), track, notesOf(t)});
        else
            poster.rows.push_back({time, train, t.provenienza, track, notesOf(t)});
        poster.timeToCheck.push_back(entry.minute == INT_MAX);
        poster.trackToCheck.push_back(lacksStationTrack(s, t));
    }
    shortenSharedWords(poster);
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

std::string posterValidity(const CalendarDate& from, const CalendarDate& to) {
    auto text = [](const CalendarDate& d) {
        char out[16];
        std::snprintf(out, sizeof out, "%02d/%02d/%04d", d.day % 100, d.month % 100,
                      d.year % 10000);
        return std::string(out);
    };
    return from == to ? "Valido il " + text(from) : "Valido dal " + text(from) + " al " + text(to);
}

Poster departuresPoster(const Scenario& s) {
    return posterOf(s, TrainEnd::Departure);
}

Poster arrivalsPoster(const Scenario& s) {
    return posterOf(s, TrainEnd::Arrival);
}

} // namespace zeb
