#pragma once

#include "model/treno.h"

#include <array>
#include <string>

namespace zeb {

// A train's two ends here: it arrives from its origin, it leaves for its destination.
enum class TrainEnd { Arrival, Departure };
inline constexpr std::array<TrainEnd, 2> kTrainEnds = {TrainEnd::Arrival, TrainEnd::Departure};

// The hour and the minute of an end as the train stores them.
template <typename Text> struct EndFields {
    Text& ora;
    Text& minuti;
};

inline EndFields<std::string> fieldsOf(Treno& t, TrainEnd end) {
    return end == TrainEnd::Arrival ? EndFields<std::string>{t.ora_arrivo, t.min_arrivo}
                                    : EndFields<std::string>{t.ora_partenza, t.min_partenza};
}

inline EndFields<const std::string> fieldsOf(const Treno& t, TrainEnd end) {
    return end == TrainEnd::Arrival ? EndFields<const std::string>{t.ora_arrivo, t.min_arrivo}
                                    : EndFields<const std::string>{t.ora_partenza, t.min_partenza};
}

// "07:55" as stored, whatever it holds.
inline std::string storedTime(const Treno& t, TrainEnd end) {
    const auto fields = fieldsOf(t, end);
    return fields.ora + ":" + fields.minuti;
}

// The place at that end: where the train comes from, where it goes.
inline const std::string& placeOf(const Treno& t, TrainEnd end) {
    return end == TrainEnd::Arrival ? t.provenienza : t.destinazione;
}

} // namespace zeb
