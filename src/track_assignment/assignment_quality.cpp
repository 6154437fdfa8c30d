#include "model/counted.h"
#include "model/track_slots.h"
#include "text/numbers.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "track_assignment/track_assignment.h"
#include "track_rules/rule_matching.h"

#include <algorithm>
#include <map>

namespace zeb {

namespace {

void countRules(const Scenario& s, const TrackRules& rules, TrackQuality& quality) {
    const std::vector<int> ruleOf = rulesOfTrains(s, rules);
    for (int i = 0; i < s.totale_treni; ++i) {
        const int rule = ruleOf[static_cast<std::size_t>(i)];
        if (rule < 0 || !hasStationTrack(s, s.treni[i].binario))
            continue;
        ++quality.ruled;
        switch (trackStanding(rules[static_cast<std::size_t>(rule)], s.treni[i].binario)) {
        case TrackStanding::FirstPreferred:
            ++quality.onFirstPreferred;
            [[fallthrough]];
        case TrackStanding::Preferred:
            ++quality.onPreferred;
            break;
        case TrackStanding::Allowed:
            ++quality.onAllowed;
            break;
        case TrackStanding::Free:
            break;
        case TrackStanding::Forbidden:
            ++quality.outsideRules;
            break;
        }
    }
}

// Consecutive holds of each track round the clock whose gap beyond the separation is under the
// buffer; holds that clash are conflicts, not gaps.
int shortGaps(const std::vector<Occupancy>& held, int separation, int buffer) {
    std::map<std::string, std::vector<const Occupancy*>> byTrack;
    for (const Occupancy& o : held)
        byTrack[o.track].push_back(&o);
    int count = 0;
    for (auto& [track, on] : byTrack) {
        if (on.size() < 2)
            continue;
        std::sort(on.begin(), on.end(),
                  [](const Occupancy* a, const Occupancy* b) { return a->start < b->start; });
        for (std::size_t k = 0; k < on.size(); ++k) {
            const Occupancy& before = *on[k];
            const Occupancy& next = *on[(k + 1) % on.size()];
            const int start = next.start + (k + 1 == on.size() ? kMinutesPerDay : 0);
            const int gap = start - before.end - separation;
            if (gap >= 0 && gap < buffer)
                ++count;
        }
    }
    return count;
}

// "intervalli di meno di 8 minuti (separazione 3 + margine 5)": what a short gap is, said whole,
// after `start` ("intervalli", "Intervalli").
std::string shortGapsLabel(const AssignmentOptions& options, std::string start) {
    const int separation = options.settings.separation;
    return start + " di meno di " + counted(separation + options.buffer, "minuto", "minuti") +
           " (separazione " + std::to_string(separation) + " + margine " +
           std::to_string(options.buffer) + ")";
}

} // namespace

TrackQuality trackQuality(const Scenario& s, const CheckSettings& settings, const TrainLinks& links,
                          const TrackRules& rules, int buffer) {
    TrackQuality quality;
    countRules(s, rules, quality);
    if (buffer > 0)
        quality.shortGaps =
            shortGaps(stationTrackOccupancies(s, settings, links), settings.separation, buffer);
    return quality;
}

std::string changeText(const Scenario& s, const TrackChange& change) {
    const Treno& t = s.treni[static_cast<std::size_t>(change.train)];
    const auto minute = hasArrival(t) ? arrivalMinute(t) : departureMinute(t);
    return t.numero + " " + (minute ? clockText(*minute) : std::string("--:--")) + ": " +
           (change.from.empty() ? std::string("nessun binario") : change.from) + " → " + change.to;
}

std::string unplacedText(const Scenario& s, const Assignment& assignment) {
    if (assignment.unplaced.empty())
        return {};
    std::string numbers;
    for (int train : assignment.unplaced)
        numbers += (numbers.empty() ? "" : ", ") + s.treni[static_cast<std::size_t>(train)].numero;
    return "senza binario libero: " + numbers + " (" +
           counted(assignment.moreTracks, "binario", "binari") + " in più " +
           (assignment.unplaced.size() == 1 ? "lo collocherebbe" : "li collocherebbero") + ")";
}

std::string assignmentSummary(const Assignment& assignment, const AssignmentOptions& options) {
    std::string text = "conflitti: prima " + std::to_string(assignment.conflictsBefore) +
                       ", dopo " + std::to_string(assignment.conflictsAfter) + "; ";
    const TrackQuality& q = assignment.after;
    if (!options.rules.empty())
        text += "fuori regola: " + std::to_string(q.outsideRules) +
                "; sul binario preferito: " + std::to_string(q.onPreferred) + " di " +
                std::to_string(q.ruled) + "; ";
    if (options.buffer > 0)
        text += shortGapsLabel(options, "intervalli") + ": " + std::to_string(q.shortGaps) + "; ";
    return text + "servono almeno " + counted(assignment.lowerBound, "binario", "binari");
}

std::vector<std::string> qualityLines(const Assignment& assignment,
                                      const AssignmentOptions& options) {
    const TrackQuality& before = assignment.before;
    const TrackQuality& after = assignment.after;
    std::vector<std::string> lines;
    if (!options.rules.empty()) {
        lines.push_back("Sul binario preferito: " + std::to_string(after.onPreferred) + " di " +
                        counted(after.ruled, "treno con una regola", "treni con una regola") +
                        " (prima " + std::to_string(before.onPreferred) + "), sul primo " +
                        std::to_string(after.onFirstPreferred));
        lines.push_back("Su un binario ammesso in più: " + std::to_string(after.onAllowed) +
                        "; fuori regola: " + std::to_string(after.outsideRules) + " (prima " +
                        std::to_string(before.outsideRules) + ")");
    }
    if (options.buffer > 0)
        lines.push_back(shortGapsLabel(options, "Intervalli") + ": prima " +
                        std::to_string(before.shortGaps) + ", dopo " +
                        std::to_string(after.shortGaps));
    return lines;
}

std::vector<std::string> splitUnitTexts(const Scenario& s, const Assignment& assignment) {
    std::vector<std::string> lines;
    for (const TrainLink& unit : assignment.splitUnits)
        lines.push_back("unità su due binari, lasciata com'è: " + unitLabel(s, unit) + " (binari " +
                        s.treni[static_cast<std::size_t>(unit.arriving)].binario + " e " +
                        s.treni[static_cast<std::size_t>(unit.leaving)].binario + ")");
    return lines;
}

std::string searchText(const Assignment& assignment) {
    if (assignment.searchNeedless)
        return "La prima scelta non si può migliorare: la ricerca non è servita.";
    if (!assignment.searched)
        return {};
    return assignment.improved ? "La ricerca ha trovato binari migliori."
                               : "La ricerca non ha trovato binari migliori.";
}

std::string riskText(const Assignment& assignment, const AssignmentOptions& options) {
    if (!assignment.riskMeasured)
        return {};
    return "Conflitti attesi con i ritardi: prima " + oneDecimal(assignment.riskBefore) +
           " per simulazione, dopo " + oneDecimal(assignment.riskAfter) + " (" +
           counted(options.riskRuns, "simulazione", "simulazioni") + ", seme " +
           std::to_string(options.riskSeed) + ")";
}

std::vector<std::string> shortfallTexts(const Assignment& assignment) {
    std::vector<std::string> lines;
    for (const RuleShortfall& need : assignment.shortfalls)
        lines.push_back("la regola " + std::to_string(need.rule + 1) + " ha bisogno di " +
                        counted(need.moreTracks, "binario", "binari") + " in più dalle " +
                        clockText(need.from) + " alle " + clockText(need.to));
    return lines;
}

} // namespace zeb
