#include "timetable/checker.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <climits>
#include <map>

namespace zeb {

namespace {

constexpr int kLongStand = 60;

class Checker {
public:
    Checker(const Scenario& s, const CheckSettings& settings) : s_(s), settings_(settings) {}

    std::vector<Finding> run() {
        for (int i = 0; i < s_.totale_treni; ++i)
            checkTrain(i, s_.treni[i]);
        checkNumbers();
        checkConflicts();
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) {
                             const auto key = [](const Finding& f) {
                                 return std::tuple(f.severity, f.minute < 0 ? INT_MAX : f.minute,
                                                   f.trains.front());
                             };
                             return key(a) < key(b);
                         });
        return std::move(findings_);
    }

private:
    void add(Severity severity, std::vector<int> trains, std::string message, int minute) {
        findings_.push_back({severity, std::move(trains), std::move(message), minute});
    }

    std::string label(int i) const { return trainLabel(i, s_.treni[i]); }

    void checkTime(int i, const char* which, const std::string& ora, const std::string& minuti) {
        if (!minuteOfDay(ora, minuti))
            add(Severity::Errore, {i},
                label(i) + ": l'orario di " + which + " «" + ora + ":" + minuti + "» non è valido",
                -1);
    }

    void checkTrain(int i, const Treno& t) {
        const auto arrival = arrivalMinute(t);
        const auto departure = departureMinute(t);
        if (hasArrival(t))
            checkTime(i, "arrivo", t.ora_arrivo, t.min_arrivo);
        if (hasDeparture(t))
            checkTime(i, "partenza", t.ora_partenza, t.min_partenza);
        const int when = hasArrival(t) && arrival ? *arrival : departure.value_or(-1);

        if (!isCategoriaSenzaBinario(t.categoria) && !hasStationTrack(s_, t.binario))
            add(Severity::Errore, {i},
                t.binario.empty()
                    ? label(i) + ": nessun binario assegnato"
                    : label(i) + ": il binario «" + t.binario + "» non esiste nella stazione",
                when);

        if (hasArrival(t) && hasDeparture(t) && arrival && departure) {
            const int stand = (*departure - *arrival + kMinutesPerDay) % kMinutesPerDay;
            if (stand > kLongStand)
                add(Severity::Avviso, {i},
                    label(i) + ": sosta " + std::to_string(stand) + " minuti in stazione, dalle " +
                        clockText(*arrival) + " alle " + clockText(*departure),
                    *arrival);
        }
        if (hasDeparture(t) && !t.fermate.ends_with(kFineFermate))
            add(Severity::Avviso, {i}, label(i) + ": le fermate non terminano con «,.»", when);
    }

    void checkNumbers() {
        std::map<std::string, std::vector<int>> byNumber;
        for (int i = 0; i < s_.totale_treni; ++i) {
            if (!s_.treni[i].numero.empty())
                byNumber[s_.treni[i].numero].push_back(i);
        }
        for (auto& [numero, trains] : byNumber) {
            if (trains.size() < 2)
                continue;
            std::string positions;
            for (std::size_t k = 0; k < trains.size(); ++k)
                positions += (k == 0                   ? ""
                              : k + 1 == trains.size() ? " e "
                                                       : ", ") +
                             std::to_string(trains[k] + 1);
            add(Severity::Avviso, trains,
                "Il numero " + numero + " è usato da " + std::to_string(trains.size()) +
                    " treni: " + positions,
                -1);
        }
    }

    void checkConflicts() {
        std::vector<Occupancy> occupancies = trackOccupancies(s_, settings_);
        std::erase_if(occupancies,
                      [this](const Occupancy& o) { return !hasStationTrack(s_, o.track); });
        for (const Conflict& c : trackConflicts(occupancies, settings_.separation))
            reportConflict(c, occupancies[static_cast<std::size_t>(c.first)],
                           occupancies[static_cast<std::size_t>(c.second)]);
    }

    void reportConflict(const Conflict& c, const Occupancy& first, const Occupancy& second) {
        const auto [lower, higher] = std::minmax(first.train, second.train);
        std::string message = "Treni " + std::to_string(lower + 1) + " (" + s_.treni[lower].numero +
                              ") e " + std::to_string(higher + 1) + " (" + s_.treni[higher].numero +
                              "), binario " + first.track + ": ";
        if (c.secondStart < c.firstEnd) {
            message += "occupato insieme dalle " + clockText(c.secondStart) + " alle " +
                       clockText(c.overlapEnd);
        } else if (c.secondStart == c.firstEnd) {
            message += "nessun minuto tra le occupazioni (alle " + clockText(c.firstEnd) +
                       "), ne servono " + std::to_string(settings_.separation);
        } else {
            message += "solo " + std::to_string(c.secondStart - c.firstEnd) +
                       " minuti tra le occupazioni (dalle " + clockText(c.firstEnd) + " alle " +
                       clockText(c.secondStart) + "), ne servono " +
                       std::to_string(settings_.separation);
        }
        add(Severity::Errore, {lower, higher}, message, c.secondStart % kMinutesPerDay);
    }

    const Scenario& s_;
    const CheckSettings& settings_;
    std::vector<Finding> findings_;
};

} // namespace

std::vector<Finding> checkScenario(const Scenario& s, const CheckSettings& settings) {
    return Checker(s, settings).run();
}

} // namespace zeb
