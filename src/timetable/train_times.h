#pragma once

#include "model/clock.h"
#include "model/train_ends.h"
#include "model/treno.h"
#include "model/value_tables.h"

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// The minute of the day of an hour and minute text: a whole number 0-23 and one 0-59, leading
// zeros allowed; nullopt for anything else ("", "--", "24", "7a").
std::optional<int> minuteOfDay(std::string_view ora, std::string_view minuti);

// A train has an arrival when it has an origin, a departure when it has a destination.
inline bool hasArrival(const Treno& t) {
    return !t.provenienza.empty();
}
inline bool hasDeparture(const Treno& t) {
    return !t.destinazione.empty();
}
// A train that ends here arrives and does not leave; one that starts here leaves without arriving:
// the two ends of a unit that turns round.
inline bool endsHere(const Treno& t) {
    return hasArrival(t) && !hasDeparture(t);
}
inline bool startsHere(const Treno& t) {
    return hasDeparture(t) && !hasArrival(t);
}
// A train whose subsidiary indication is "Soppresso" does not run: it holds no track.
inline bool isCancelled(const Treno& t) {
    return t.codice_sussidiaria == "1";
}
// A train that holds a track when it calls: of a category with one, and not cancelled.
inline bool holdsATrack(const Treno& t) {
    return !isCategoriaSenzaBinario(t.categoria) && !isCancelled(t);
}
// Whether a train has that end: an origin for its arrival, a destination for its departure.
inline bool hasEnd(const Treno& t, TrainEnd end) {
    return !placeOf(t, end).empty();
}
// "07:55" as stored for an end the train has; empty for one it has not.
inline std::string endTimeText(const Treno& t, TrainEnd end) {
    return hasEnd(t, end) ? storedTime(t, end) : std::string();
}
// The minute of the day of an end, nullopt where its time is no time.
std::optional<int> endMinute(const Treno& t, TrainEnd end);
inline std::optional<int> arrivalMinute(const Treno& t) {
    return endMinute(t, TrainEnd::Arrival);
}
inline std::optional<int> departureMinute(const Treno& t) {
    return endMinute(t, TrainEnd::Departure);
}

// "07:05" for a minute of the day (taken round the clock).
std::string clockText(int minute);

// A train's first time at the station (its arrival, else its departure), minute of the day; -1
// where it has no valid one.
inline int firstMinuteOf(const Treno& t) {
    const auto arrival = hasArrival(t) ? arrivalMinute(t) : std::nullopt;
    return arrival.value_or(hasDeparture(t) ? departureMinute(t).value_or(-1) : -1);
}

// "2231 07:45": the train's number and first time, as lists of changes name it.
inline std::string numberAndTime(const Treno& t) {
    const int minute = firstMinuteOf(t);
    return t.numero + " " + (minute < 0 ? std::string("--:--") : clockText(minute));
}
// The minute of the day of "HH:MM" ("7:05" too), or nullopt.
std::optional<int> clockMinute(std::string_view text);

// "Treno 12 (2231)": the 1-based position the editor shows, and the number.
std::string trainLabel(int index, const Treno& t);

} // namespace zeb
