#include "delay_risk/risk_texts.h"

#include "model/counted.h"
#include "text/csv_text.h"
#include "text/numbers.h"
#include "timetable/delay_draw.h"
#include "timetable/train_times.h"

#include <cmath>
#include <set>

namespace zeb {

std::string riskSummary(const DelayRisk& risk, const DelayRiskSettings& settings) {
    if (settings.most)
        return "Con ogni treno al suo ritardo massimo: " +
               (risk.expectedClashes == 0
                    ? std::string("nessun conflitto")
                    : counted(std::lround(risk.expectedClashes), "conflitto", "conflitti"));
    const std::string runs = counted(risk.runs, "simulazione", "simulazioni") + " con il seme " +
                             std::to_string(settings.seed);
    if (risk.expectedClashes == 0)
        return runs + ": nessun conflitto";
    return runs + ": in media " + oneDecimal(risk.expectedClashes) +
           " conflitti per simulazione; " + "almeno uno nel " + percentText(risk.clashingRuns) +
           " delle simulazioni";
}

std::vector<RiskRow> riskRows(const Scenario& s, const DelayRisk& risk) {
    std::vector<RiskRow> rows;
    for (const TrainRisk& train : risk.trains) {
        const Treno& t = s.treni[train.train];
        const auto departure = hasDeparture(t) ? departureMinute(t) : std::nullopt;
        const int minute = departure.value_or(hasArrival(t) ? arrivalMinute(t).value_or(-1) : -1);
        std::string with;
        for (int other : train.with)
            with += (with.empty() ? "" : ", ") + s.treni[other].numero;
        rows.push_back({train.train, t.numero, minute < 0 ? "--:--" : clockText(minute), t.binario,
                        t.ritardo, train.share, with});
    }
    return rows;
}

std::string riskLine(const RiskRow& row, bool most) {
    std::string line = row.number + " " + row.time + " binario " + row.track;
    if (row.share == 0)
        return line + ": mai in conflitto";
    return line + ": in conflitto" + (most ? "" : " nel " + percentText(row.share) + ",") +
           " con " + row.with;
}

std::string trackRiskLine(const std::string& track, double share, bool most) {
    return "Binario " + track +
           (most ? std::string(": in conflitto")
                 : ": conflitti nel " + percentText(share) + " delle simulazioni");
}

std::string riskCsv(const std::vector<RiskRow>& rows) {
    std::string csv = "\xEF\xBB\xBFTreno;Ora;Binario;Indice ritardo;Quota conflitti;Con\r\n";
    for (const RiskRow& row : rows) {
        for (const std::string* field : {&row.number, &row.time, &row.track, &row.index})
            csv += csvField(*field, ';') + ';';
        csv += percentText(row.share) + ';' + csvField(row.with, ';') + "\r\n";
    }
    return csv;
}

std::vector<Finding> riskFindings(const Scenario& s, const TrainLinks& links, const DelayRisk& risk,
                                  const CheckSettings& settings) {
    const std::vector<Occupancy> holds = stationTrackOccupancies(s, settings, links);
    std::set<std::pair<int, int>> written; // by their first trains, as the risk names them
    for (const Conflict& c : trackConflicts(holds, settings.separation)) {
        const int a = holds[static_cast<std::size_t>(c.first)].train;
        const int b = holds[static_cast<std::size_t>(c.second)].train;
        written.emplace(std::min(a, b), std::max(a, b));
    }
    std::vector<Finding> findings;
    for (const RiskyPair& pair : risk.pairs) {
        if (pair.share * 100 <= settings.riskThreshold ||
            written.contains({pair.first, pair.second}))
            continue;
        findings.push_back({Severity::Warning,
                            {pair.first, pair.second},
                            "Treni " + s.treni[pair.first].numero + " e " +
                                s.treni[pair.second].numero + ", binario " + pair.track +
                                ": in conflitto nel " + percentText(pair.share) +
                                " delle simulazioni con i ritardi previsti",
                            firstMinuteOf(s.treni[pair.first])});
    }
    return findings;
}

bool mayRunLate(const Scenario& s) {
    for (int i = 0; i < s.totale_treni; ++i) {
        if (!isCancelled(s.treni[i]) && mostDelayOf(s.treni[i]) > 0)
            return true;
    }
    return false;
}

} // namespace zeb
