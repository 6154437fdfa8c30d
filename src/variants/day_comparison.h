#pragma once

#include "model/scenario.h"

#include <string>
#include <vector>

namespace zeb {

// A field of a train that a variant of the day changed: its name as the table shows it, and its
// value in the base and in the variant ("Binario", "3", "5").
struct FieldChange {
    std::string field;
    std::string before;
    std::string after;
};

// A train of the base or of the variant that the other lacks or holds otherwise.
struct TrainDifference {
    enum class Kind { Removed, Added, Changed };
    Kind kind;
    int base = -1;    // position in the base, where it has the train
    int variant = -1; // position in the variant
    std::vector<FieldChange> changes{};
};

// The differences between two days of a station: trains are paired by number, those of one
// number by origin and then by the nearest time, round the clock; a train left unpaired was
// removed or added. In the order of the trains' times, then numbers.
std::vector<TrainDifference> compareDays(const Scenario& base, const Scenario& variant);

// "2231 07:45", of the train a difference is about: its number and first time at the station.
std::string trainAndTime(const Scenario& base, const Scenario& variant,
                         const TrainDifference& difference);

// A changed field, a removed or an added train, as a table shows it: the train's number and
// first time at the station ("--:--" for none), the change ("tolto", "aggiunto" or the field's
// name), the values before and after (empty for a train), and the difference it belongs to.
struct DifferenceRow {
    std::string number;
    std::string time;
    std::string change;
    std::string before;
    std::string after;
    std::size_t difference;
};
std::vector<DifferenceRow> differenceRows(const Scenario& base, const Scenario& variant,
                                          const std::vector<TrainDifference>& differences);

// One line a changed field, removed or added train, each beginning with the train and its time
// ("2231 07:45 Binario: 3 → 5", "2235 00:10 tolto", "9999 12:00 aggiunto").
std::vector<std::string> differenceLines(const Scenario& base, const Scenario& variant,
                                         const std::vector<TrainDifference>& differences);

// "3 treni cambiati, 1 tolto, nessuno aggiunto", or "I due giorni sono uguali".
std::string differenceSummary(const std::vector<TrainDifference>& differences);

// The differences as CSV for a spreadsheet: UTF-8 with BOM, ";", CR LF, a header, one row a
// changed field, removed or added train.
std::string differencesCsv(const Scenario& base, const Scenario& variant,
                           const std::vector<TrainDifference>& differences);

} // namespace zeb
