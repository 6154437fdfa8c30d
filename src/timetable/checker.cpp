#include "timetable/checker.h"

#include "model/counted.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <climits>
#include <map>

namespace zeb {

namespace {

void inCheckerOrder(std::vector<Finding>& findings) {
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        const auto key = [](const Finding& f) {
            return std::tuple(f.severity, f.minute < 0 ? INT_MAX : f.minute, f.trains.front());
        };
        return key(a) < key(b);
    });
}

constexpr int kLongStand = 60;

class Checker {
public:
    Checker(const Scenario& s, const CheckSettings& settings, const TrainLinks& links)
        : s_(s), settings_(settings), links_(links) {}

    std::vector<Finding> run() {
        for (int i = 0; i < s_.totale_treni; ++i)
            checkTrain(i, s_.treni[i]);
        checkNumbers();
        checkLinks();
        checkConflicts();
        inCheckerOrder(findings_);
        return std::move(findings_);
    }

private:
    void add(Severity severity, std::vector<int> trains, std::string message, int minute) {
        findings_.push_back({severity, std::move(trains), std::move(message), minute});
    }

    std::string label(int i) const { return trainLabel(i, s_.treni[i]); }

    void checkTime(int i, const char* which, EndFields<const std::string> time) {
        if (!minuteOfDay(time.ora, time.minuti))
            add(Severity::Error, {i},
                label(i) + ": l'orario di " + which + " " +
                    quotedBriefly(time.ora + ":" + time.minuti) + " non è valido",
                -1);
    }

    void checkTrain(int i, const Treno& t) {
        const auto arrival = arrivalMinute(t);
        const auto departure = departureMinute(t);
        for (const TrainEnd end : kTrainEnds) {
            if (hasEnd(t, end))
                checkTime(i, end == TrainEnd::Arrival ? "arrivo" : "partenza", fieldsOf(t, end));
        }
        const int when = hasArrival(t) && arrival ? *arrival : departure.value_or(-1);

        if (lacksStationTrack(s_, t) && !isCancelled(t)) // a cancelled train needs none
            add(Severity::Error, {i},
                t.binario.empty() ? label(i) + ": nessun binario assegnato"
                                  : label(i) + ": il binario " + quotedBriefly(t.binario) +
                                        " non esiste nella stazione",
                when);

        if (hasArrival(t) && hasDeparture(t) && arrival && departure) {
            const int stand = minutesAfter(*arrival, *departure);
            if (stand > kLongStand)
                add(Severity::Warning, {i},
                    label(i) + ": sosta " + std::to_string(stand) + " minuti in stazione, dalle " +
                        clockText(*arrival) + " alle " + clockText(*departure),
                    *arrival);
        }
        if (hasDeparture(t) && !t.fermate.ends_with(kFineFermate))
            add(Severity::Warning, {i}, label(i) + ": le fermate non terminano con «,.»", when);
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
            add(Severity::Warning, trains,
                "Il numero " + numero + " è usato da " + std::to_string(trains.size()) +
                    " treni: " + positions,
                -1);
        }
    }

    // A link that cannot stand as one unit; its trains are checked each on its own.
    void checkLinks() {
        // How often each train is the first and the second of a link so far.
        std::vector<int> linkedAs[2];
        for (std::vector<int>& count : linkedAs)
            count.assign(static_cast<std::size_t>(s_.totale_treni), 0);
        for (const TrainLink& link : links_) {
            const auto fault = linkFault(s_, link, settings_);
            const std::vector<int> trains{link.arriving, link.leaving};
            const int minute = link.arriving >= 0 && link.arriving < s_.totale_treni
                                   ? arrivalMinute(s_.treni[link.arriving]).value_or(-1)
                                   : -1;
            if (fault)
                add(Severity::Error, trains, "Collegamento " + *fault, minute);
            for (int side = 0; side < 2; ++side) {
                const int train = trains[static_cast<std::size_t>(side)];
                if (train < 0 || train >= s_.totale_treni)
                    continue;
                if (linkedAs[side][static_cast<std::size_t>(train)]++ == 1)
                    add(Severity::Error, trains,
                        "Collegamento " + unitLabel(s_, link) + ": " + s_.treni[train].numero +
                            (side == 0 ? " prosegue già come un altro treno"
                                       : " proviene già da un altro treno"),
                        minute);
            }
        }
    }

    // Conflicts as groups: the trains of a track whose occupancies, widened by the separation,
    // chain together round the clock.
    void checkConflicts() {
        for (const ConflictGroup& group :
             conflictGroups(stationTrackOccupancies(s_, settings_, links_), settings_.separation))
            reportGroup(group.held.front().track, group.held);
    }

    void reportGroup(const std::string& track, const std::vector<Occupancy>& group) {
        if (group.size() < 2)
            return;
        if (group.size() == 2) {
            const Occupancy& first = group[0];
            const Occupancy& second = group[1];
            reportPair(track, first, second);
            return;
        }
        constexpr std::size_t kNamed = 6;
        std::vector<int> trains;
        int end = group.front().end;
        std::vector<std::string> numbers;
        for (const Occupancy& o : group) {
            trains.push_back(o.train);
            if (o.leaving >= 0)
                trains.push_back(o.leaving);
            end = std::max(end, o.end);
            numbers.push_back(occupancyLabel(s_, o));
        }
        std::sort(trains.begin(), trains.end());
        add(Severity::Error, trains,
            "Binario " + track + ", dalle " + clockText(group.front().start) + " alle " +
                clockText(end) + ": " + std::to_string(group.size()) +
                " treni in conflitto tra loro (" + firstNames(numbers, kNamed) + ")",
            minuteOnClock(group.front().start));
    }

    // Two trains, as the pair they are: held together, or too close.
    void reportPair(const std::string& track, const Occupancy& first, const Occupancy& second) {
        const auto [lower, higher] =
            std::minmax(first, second,
                        [](const Occupancy& a, const Occupancy& b) { return a.train < b.train; });
        std::string message = "Treni " + std::to_string(lower.train + 1) + " (" +
                              occupancyLabel(s_, lower) + ") e " +
                              std::to_string(higher.train + 1) + " (" + occupancyLabel(s_, higher) +
                              "), binario " + track + ": ";
        const int secondStart = second.start;
        const int firstEnd = first.end;
        if (secondStart < firstEnd) {
            message += "occupato insieme dalle " + clockText(secondStart) + " alle " +
                       clockText(std::min(first.end, second.end));
        } else if (secondStart == firstEnd) {
            message += "nessun minuto tra le occupazioni (alle " + clockText(firstEnd) +
                       "), ne servono " + std::to_string(settings_.separation);
        } else {
            message += "solo " + std::to_string(secondStart - firstEnd) +
                       " minuti tra le occupazioni (dalle " + clockText(firstEnd) + " alle " +
                       clockText(secondStart) + "), ne servono " +
                       std::to_string(settings_.separation);
        }
        std::vector<int> trains{lower.train, higher.train};
        for (const Occupancy* o : {&lower, &higher}) {
            if (o->leaving >= 0)
                trains.push_back(o->leaving);
        }
        add(Severity::Error, trains, message, minuteOnClock(secondStart));
    }

    const Scenario& s_;
    const CheckSettings& settings_;
    const TrainLinks& links_;
    std::vector<Finding> findings_;
};

} // namespace

std::vector<Finding> checkScenario(const Scenario& s, const CheckSettings& settings,
                                   const TrainLinks& links) {
    return Checker(s, settings, links).run();
}

std::vector<Finding> withFindings(std::vector<Finding> findings, std::vector<Finding> more) {
    if (more.empty())
        return findings;
    findings.insert(findings.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    inCheckerOrder(findings);
    return findings;
}

FindingsCount countFindings(const std::vector<Finding>& findings) {
    FindingsCount count;
    for (const Finding& finding : findings)
        (finding.severity == Severity::Error ? count.errors : count.warnings) += 1;
    return count;
}

std::string findingsText(const FindingsCount& count) {
    if (count.errors == 0 && count.warnings == 0)
        return "Nessun problema";
    std::string text;
    if (count.errors > 0)
        text = counted(count.errors, "errore", "errori");
    if (count.warnings > 0)
        text += (text.empty() ? "" : " · ") + counted(count.warnings, "avviso", "avvisi");
    return text;
}

} // namespace zeb
