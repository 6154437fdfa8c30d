#pragma once

#include "delay_risk/delay_risk.h"
#include "timetable/checker.h"

#include <string>
#include <vector>

namespace zeb {

// The day's figures in a sentence: "1000 simulazioni con il seme 7: in media 2,4 conflitti per
// simulazione; almeno uno nel 62 % delle simulazioni", or of every train at its most.
std::string riskSummary(const DelayRisk& risk, const DelayRiskSettings& settings);

// A running train's row, as the window's table, the tool's lines and the CSV give it: its time
// is its departure, or its arrival where it ends here.
struct RiskRow {
    int train;
    std::string number;
    std::string time;
    std::string track;
    std::string index; // its delay index, "0" to "4"
    double share;
    std::string with; // "2245, 2251"
};
std::vector<RiskRow> riskRows(const Scenario& s, const DelayRisk& risk);

// "2231 07:45 binario 3: in conflitto nel 62 %, con 2245"; of the one day at the most delays,
// "… in conflitto con 2245".
std::string riskLine(const RiskRow& row, bool most = false);
// "Binario 3: conflitti nel 40 % delle simulazioni", or "Binario 3: in conflitto".
std::string trackRiskLine(const std::string& track, double share, bool most = false);

// Treno;Ora;Binario;Indice ritardo;Quota conflitti;Con, a row a train, as a spreadsheet opens it.
std::string riskCsv(const std::vector<RiskRow>& rows);

// The checker's warning of each pair that clashes in more than `settings.riskThreshold` percent of
// the runs: "Treni 2231 e 2245, binario 3: in conflitto nel 62 % delle simulazioni con i ritardi
// previsti"; not of a pair in conflict as written, which the checker says already.
std::vector<Finding> riskFindings(const Scenario& s, const TrainLinks& links, const DelayRisk& risk,
                                  const CheckSettings& settings);

// Whether some running train may be late at all: else no run can differ from the timetable.
bool mayRunLate(const Scenario& s);

} // namespace zeb
