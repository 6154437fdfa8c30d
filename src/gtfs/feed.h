#pragma once

#include "gtfs/feed_source.h"
#include "gtfs/text_index.h"
#include "text/numbers.h"

#include <date/date.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace date {
class time_zone;
}

namespace zeb {

using IndexOf = TextIndex;

struct GtfsStop {
    std::string id;
    std::string name;
    std::string platformCode;
    int parent = -1;  // the stop's parent station, -1 for none
    int station = -1; // the station it belongs to: its topmost parent, or itself
    int locationType = 0;
    const date::time_zone* zone = nullptr; // its own stop_timezone, or null
};

struct GtfsRoute {
    std::string shortName;
    std::string longName;
    int type = 3;
    const date::time_zone* zone = nullptr; // its agency's
    // For the route standing for those whose rows could not be read: why, naming the first.
    std::string unreadable = {};
};

struct GtfsTrip {
    std::string id;
    std::string shortName;
    int route = 0;
    int service = -1;          // -1: a service no calendar knows, which never runs
    std::string headsign = {}; // its trip_headsign where that is a number ("80392"), else empty
    int block = -1;            // its block_id, the trips one vehicle runs, in blockIndex; -1 none
};

// A trip run again every `headway` seconds from `start` to `end` (frequencies.txt). Ordered by
// headway first, so that the rows of one headway come together.
struct GtfsFrequency {
    int headway = 0;
    int start = 0;
    int end = 0;
    auto operator<=>(const GtfsFrequency&) const = default;
};

// The days a service runs: its weekdays within its dates, less the days removed, plus the
// days added.
struct GtfsService {
    std::uint8_t weekdays = 0; // bit 0 Monday .. bit 6 Sunday
    date::sys_days start{};
    date::sys_days end{};
    std::vector<date::sys_days> added;   // sorted
    std::vector<date::sys_days> removed; // sorted

    bool runsOn(date::sys_days day) const;
};

// Everything of a feed but its stop_times, which are read as a stream for each question.
struct GtfsFeed {
    const FeedSource* source = nullptr;
    std::vector<GtfsStop> stops;
    IndexOf stopIndex;
    std::vector<GtfsRoute> routes;
    std::vector<GtfsTrip> trips;
    IndexOf tripIndex;
    IndexOf blockIndex; // block_id → a number of its own
    std::vector<GtfsService> services;
    std::vector<std::int64_t> tripsOfService; // runs of trips each service has on a day it runs
    std::unordered_map<int, std::vector<GtfsFrequency>> frequencies; // by trip
    const date::time_zone* zone = nullptr;                           // the first agency's
    date::sys_days firstDay{};
    date::sys_days lastDay{};
    // Rows of routes.txt and trips.txt that could not be read, skipped, as "file, riga N: why".
    // A trip whose route is among them runs on the route `unreadable` names; a row of stop_times
    // whose trip is unknown while trips.txt skipped rows belongs, for all one knows, to one of
    // them.
    std::vector<std::string> skippedRows;
    std::vector<std::string> skippedTrips;
};

// Reads every file but stop_times.txt; throws GtfsError naming the file, line and column of
// the first fault, or the missing file or column. A row of routes.txt or trips.txt that cannot be
// read is skipped instead: the day's reading refuses only a day that needs it.
GtfsFeed loadFeed(const FeedSource& source);

// "20160406" as a day, or nullopt.
std::optional<date::sys_days> gtfsDate(std::string_view text);
// "7:33:00" or "25:10:00" in seconds from the service day's start, or nullopt; "" is nullopt.
// "H:MM:SS" to "HHH:MM:SS", read by hand: stop_times holds millions of them.
inline std::optional<int> gtfsSeconds(std::string_view text) {
    const std::size_t n = text.size();
    if (n < 7 || n > 9 || text[n - 3] != ':' || text[n - 6] != ':')
        return std::nullopt;
    auto digit = [&](std::size_t i) { return static_cast<unsigned>(text[i] - '0'); };
    unsigned hours = 0;
    bool digits = true;
    for (std::size_t i = 0; i + 6 < n; ++i) {
        digits &= digit(i) <= 9;
        hours = hours * 10 + digit(i);
    }
    const unsigned m = digit(n - 5), mm = digit(n - 4), s = digit(n - 2), ss = digit(n - 1);
    if (!digits || m > 5 || mm > 9 || s > 5 || ss > 9)
        return std::nullopt;
    return static_cast<int>(hours * 3600 + (m * 10 + mm) * 60 + s * 10 + ss);
}

// The time zone of the tz database named `name`, or null for a name it lacks.
const date::time_zone* findZone(std::string_view name);

} // namespace zeb
