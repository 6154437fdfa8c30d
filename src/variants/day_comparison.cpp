#include "variants/day_comparison.h"

#include "model/counted.h"
#include "model/value_tables.h"
#include "text/csv_text.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace zeb {

namespace {

// A field a train has not is empty, in the lines, the window and the CSV alike: a time of an end
// the train has not (endTimeText), and the stops of a train that ends here.

// The stops as the trains' CSV writes them: without their final ",.", none for a train that ends
// here however the file wrote it.
std::string stopsOf(const Treno& t) {
    if (t.fermate == "-" || t.fermate.starts_with(kTerminaQui) || !hasDeparture(t))
        return {};
    return std::string(stopsWithoutFine(t.fermate));
}

// The indication's description, from its code as the file keeps it.
std::string indicationOf(const Treno& t) {
    const auto code = listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size()));
    return code ? std::string(kSussidiarie[static_cast<std::size_t>(*code)]) : t.sussidiaria;
}

// The fields compared, as the train table names them.
struct ComparedField {
    const char* name;
    std::string (*value)(const Treno&);
};
const ComparedField kFields[] = {
    {"Categoria", [](const Treno& t) { return t.categoria; }},
    {"Provenienza", [](const Treno& t) { return t.provenienza; }},
    {"Destinazione", [](const Treno& t) { return t.destinazione; }},
    {"Arrivo", [](const Treno& t) { return endTimeText(t, TrainEnd::Arrival); }},
    {"Partenza", [](const Treno& t) { return endTimeText(t, TrainEnd::Departure); }},
    {"Binario", [](const Treno& t) { return t.binario; }},
    {"Ritardo", [](const Treno& t) { return t.ritardo; }},
    {"Fermate", stopsOf},
    {"Indicazioni", indicationOf},
    {"Note", [](const Treno& t) { return t.note; }},
};

std::vector<FieldChange> changesBetween(const Treno& a, const Treno& b) {
    std::vector<FieldChange> changes;
    for (const ComparedField& field : kFields) {
        std::string before = field.value(a);
        std::string after = field.value(b);
        if (before != after)
            changes.push_back({field.name, std::move(before), std::move(after)});
    }
    return changes;
}

// How far apart two trains of one number are: another origin first, then the minutes between
// their times round the clock.
int distance(const Treno& a, const Treno& b) {
    const int ta = firstMinuteOf(a), tb = firstMinuteOf(b);
    const int apart =
        ta < 0 || tb < 0 ? kMinutesPerDay : std::min(minutesAfter(ta, tb), minutesAfter(tb, ta));
    return (a.provenienza == b.provenienza ? 0 : 2 * kMinutesPerDay) + apart;
}

// The train a difference is about: the base's where it has one, else the variant's.
const Treno& trainOf(const Scenario& base, const Scenario& variant, const TrainDifference& d) {
    return d.base >= 0 ? base.treni[static_cast<std::size_t>(d.base)]
                       : variant.treni[static_cast<std::size_t>(d.variant)];
}

} // namespace

std::vector<TrainDifference> compareDays(const Scenario& base, const Scenario& variant) {
    std::map<std::string, std::pair<std::vector<int>, std::vector<int>>> byNumber;
    for (int i = 0; i < base.totale_treni; ++i)
        byNumber[base.treni[static_cast<std::size_t>(i)].numero].first.push_back(i);
    for (int i = 0; i < variant.totale_treni; ++i)
        byNumber[variant.treni[static_cast<std::size_t>(i)].numero].second.push_back(i);
    std::vector<TrainDifference> differences;
    for (const auto& [number, trains] : byNumber) {
        const auto& [inBase, inVariant] = trains;
        // The closest pairs first, each train in one pair at most.
        std::vector<std::tuple<int, int, int>> pairs;
        for (int a : inBase) {
            for (int b : inVariant)
                pairs.emplace_back(distance(base.treni[static_cast<std::size_t>(a)],
                                            variant.treni[static_cast<std::size_t>(b)]),
                                   a, b);
        }
        std::sort(pairs.begin(), pairs.end());
        std::vector<int> pairedBase, pairedVariant;
        for (const auto& [apart, a, b] : pairs) {
            if (std::find(pairedBase.begin(), pairedBase.end(), a) != pairedBase.end() ||
                std::find(pairedVariant.begin(), pairedVariant.end(), b) != pairedVariant.end())
                continue;
            pairedBase.push_back(a);
            pairedVariant.push_back(b);
            auto changes = changesBetween(base.treni[static_cast<std::size_t>(a)],
                                          variant.treni[static_cast<std::size_t>(b)]);
            if (!changes.empty())
                differences.push_back({TrainDifference::Kind::Changed, a, b, std::move(changes)});
        }
        for (int a : inBase) {
            if (std::find(pairedBase.begin(), pairedBase.end(), a) == pairedBase.end())
                differences.push_back({TrainDifference::Kind::Removed, a, -1});
        }
        for (int b : inVariant) {
            if (std::find(pairedVariant.begin(), pairedVariant.end(), b) == pairedVariant.end())
                differences.push_back({TrainDifference::Kind::Added, -1, b});
        }
    }
    auto key = [&](const TrainDifference& d) {
        const Treno& t = trainOf(base, variant, d);
        return std::tuple(firstMinuteOf(t), t.numero, d.base, d.variant);
    };
    std::sort(differences.begin(), differences.end(),
              [&](const TrainDifference& a, const TrainDifference& b) { return key(a) < key(b); });
    return differences;
}

std::string trainAndTime(const Scenario& base, const Scenario& variant,
                         const TrainDifference& difference) {
    return numberAndTime(trainOf(base, variant, difference));
}

std::vector<DifferenceRow> differenceRows(const Scenario& base, const Scenario& variant,
                                          const std::vector<TrainDifference>& differences) {
    std::vector<DifferenceRow> rows;
    for (std::size_t k = 0; k < differences.size(); ++k) {
        const TrainDifference& d = differences[k];
        const Treno& t = trainOf(base, variant, d);
        const int minute = firstMinuteOf(t);
        const std::string time = minute < 0 ? std::string() : clockText(minute);
        if (d.kind != TrainDifference::Kind::Changed)
            rows.push_back({t.numero, time,
                            d.kind == TrainDifference::Kind::Removed ? "tolto" : "aggiunto", "", "",
                            k});
        for (const FieldChange& change : d.changes)
            rows.push_back({t.numero, time, change.field, change.before, change.after, k});
    }
    return rows;
}

std::vector<std::string> differenceLines(const Scenario& base, const Scenario& variant,
                                         const std::vector<TrainDifference>& differences) {
    std::vector<std::string> lines;
    for (const DifferenceRow& row : differenceRows(base, variant, differences)) {
        std::string line = row.number + " " + row.time + " " + row.change;
        if (differences[row.difference].kind == TrainDifference::Kind::Changed)
            line += ": " + row.before + " → " + row.after;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string differenceSummary(const std::vector<TrainDifference>& differences) {
    if (differences.empty())
        return "I due giorni sono uguali";
    long counts[3] = {0, 0, 0};
    for (const TrainDifference& d : differences)
        ++counts[static_cast<int>(d.kind)];
    auto part = [](long count, const char* none, const char* one, const char* many) {
        return count == 0 ? std::string(none) : counted(count, one, many);
    };
    return part(counts[2], "nessun treno cambiato", "treno cambiato", "treni cambiati") + ", " +
           part(counts[0], "nessuno tolto", "tolto", "tolti") + ", " +
           part(counts[1], "nessuno aggiunto", "aggiunto", "aggiunti");
}

std::string differencesCsv(const Scenario& base, const Scenario& variant,
                           const std::vector<TrainDifference>& differences) {
    std::string csv = "\xEF\xBB\xBFNumero;Orario;Cambiamento;Prima;Dopo\r\n";
    for (const DifferenceRow& row : differenceRows(base, variant, differences)) {
        for (const std::string* field : {&row.number, &row.time, &row.change, &row.before})
            csv += csvField(*field, ';') + ';';
        csv += csvField(row.after, ';') + "\r\n";
    }
    return csv;
}

} // namespace zeb
