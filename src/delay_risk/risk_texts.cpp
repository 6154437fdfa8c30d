#include "delay_risk/risk_texts.h"

#include "model/counted.h"
#include "text/csv_text.h"
#include "timetable/train_times.h"

#include <cmath>

namespace zeb {

namespace {

// "2,4": one decimal, with the Italian comma.
std::string oneDecimal(double value) {
    const long tenths = std::lround(value * 10);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

} // namespace

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

} // namespace zeb
