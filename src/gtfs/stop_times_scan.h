#pragma once

#include "gtfs/feed.h"
#include "gtfs/gtfs_table.h"
#include "gtfs/station_day.h"
#include "model/quoted_text.h"

#include <date/tz.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The reading of stop_times.txt shared by the station list and a station's day: the service days
// a call may belong to, the row's columns and times, the trip of each row, the service clock.

namespace zeb {

inline constexpr int kSecondsPerDay = 24 * 3600;
// Calls are looked for on the service days from a week before the calendar day (feeds run past
// 48:00) to the day after (a station in a zone west of the agency's).
inline constexpr int kDaysBack = 7;
inline constexpr int kCandidateDays = kDaysBack + 2;
inline constexpr std::uint64_t kProgressEveryRows = 1 << 16;

inline int daysBetween(date::sys_days from, date::sys_days to) {
    return static_cast<int>((to - from).count());
}

// For each service, which of the candidate days (day - kDaysBack .. day + 1) it runs on.
inline std::vector<std::uint16_t> candidateRuns(const GtfsFeed& feed, date::sys_days day) {
    std::vector<std::uint16_t> runs(feed.services.size(), 0);
    for (std::size_t s = 0; s < feed.services.size(); ++s) {
        for (int k = 0; k < kCandidateDays; ++k) {
            if (feed.services[s].runsOn(day + date::days{k - kDaysBack}))
                runs[s] = static_cast<std::uint16_t>(runs[s] | (1u << k));
        }
    }
    return runs;
}

// The columns of stop_times.txt that every question reads.
struct StopTimeColumns {
    explicit StopTimeColumns(const GtfsTable& t)
        : trip(t.requiredColumn("trip_id")), arrival(t.requiredColumn("arrival_time")),
          departure(t.requiredColumn("departure_time")), stop(t.requiredColumn("stop_id")),
          sequence(t.requiredColumn("stop_sequence")), pickup(t.column("pickup_type")),
          dropOff(t.column("drop_off_type")) {}
    int trip, arrival, departure, stop, sequence, pickup, dropOff;
};

// A time of the row, or -1 where it has none; a value that is no time stops the import.
inline int secondsIn(const GtfsTable& table, int column) {
    const std::string_view text = table.field(column);
    if (text.empty())
        return -1;
    const auto seconds = gtfsSeconds(text);
    if (!seconds)
        table.fail(column, quotedBriefly(text) + " non è un orario H:MM:SS");
    return *seconds;
}

inline int lookup(const GtfsTable& table, int column, const IndexOf& index, const char* what,
                  const char* file) {
    const int found = index.find(table.field(column));
    if (found < 0)
        table.fail(column, std::string(what) + " " + quotedBriefly(table.field(column)) +
                               " non è in " + file);
    return found;
}

// The trip of each row of stop_times: its rows come together, and mostly in the order of
// trips.txt, so the index is asked only where the next trip of that order is not the one.
class TripCursor {
public:
    explicit TripCursor(const GtfsFeed& feed) : feed_(feed) {}

    // The row's trip; `changed` tells whether it differs from the previous row's. -1 for a trip
    // trips.txt lacks while it skipped rows: one of them, perhaps.
    int trip(const GtfsTable& table, int column, bool& changed) {
        const std::string_view id = table.field(column);
        changed = trip_ < 0 || id != feed_.trips[static_cast<std::size_t>(trip_)].id;
        if (!changed)
            return trip_;
        const std::size_t next = static_cast<std::size_t>(trip_ + 1);
        if (next < feed_.trips.size() && feed_.trips[next].id == id)
            trip_ = static_cast<int>(next);
        else if (feed_.skippedTrips.empty())
            trip_ = lookup(table, column, feed_.tripIndex, "la corsa", "trips.txt");
        else
            trip_ = feed_.tripIndex.find(id);
        return trip_;
    }

private:
    const GtfsFeed& feed_;
    int trip_ = -1;
};

inline bool noPassengers(std::string_view type) {
    return type == "1";
}

// Walks stop_times.txt row by row, telling `progress` now and then.
template <typename OnRow>
void scanStopTimes(const GtfsFeed& feed, const ScanProgress& progress, OnRow onRow) {
    GtfsTable table(*feed.source, "stop_times.txt");
    const StopTimeColumns columns(table);
    const std::uint64_t total = feed.source->size("stop_times.txt");
    std::uint64_t rows = 0;
    while (table.next()) {
        if (++rows % kProgressEveryRows == 0 && progress && !progress(table.bytesRead(), total))
            throw ScanCancelled{};
        onRow(table, columns);
    }
}

// Service days start at noon less twelve hours, local time, which differs from midnight on the
// days clocks change.
class ServiceClock {
public:
    date::sys_seconds dayStart(const date::time_zone* zone, date::sys_days day) {
        const auto key = std::make_pair(zone, day);
        const auto it = starts_.find(key);
        if (it != starts_.end())
            return it->second;
        date::sys_seconds start = date::sys_seconds(day);
        if (zone)
            start = zone->to_sys(date::local_seconds(date::local_days(day.time_since_epoch())) +
                                     std::chrono::hours(12),
                                 date::choose::earliest) -
                    std::chrono::hours(12);
        return starts_[key] = start;
    }

private:
    std::map<std::pair<const date::time_zone*, date::sys_days>, date::sys_seconds> starts_;
};

// Local times, the zone's offset kept while the instants stay within the period it holds for:
// a zone's rules are looked up once a period, not once a call.
class LocalClock {
public:
    date::local_seconds operator()(const date::time_zone* zone, date::sys_seconds instant) {
        inUtc_ = !zone;
        if (!zone)
            return date::local_seconds(instant.time_since_epoch());
        if (zone != zone_ || instant < begin_ || instant >= end_) {
            const date::sys_info info = zone->get_info(instant);
            zone_ = zone;
            begin_ = info.begin;
            end_ = info.end;
            offset_ = info.offset;
        }
        return date::local_seconds((instant + offset_).time_since_epoch());
    }
    // Where the offset of the last instant asked stops holding.
    date::sys_seconds periodEnd() const {
        return inUtc_ ? date::sys_seconds(std::chrono::seconds(kForever)) : end_;
    }

private:
    static constexpr long long kForever = 1LL << 40;
    bool inUtc_ = false; // the last instant asked was of no zone
    const date::time_zone* zone_ = nullptr;
    date::sys_seconds begin_, end_;
    std::chrono::seconds offset_{0};
};

inline std::string twoDigits(long value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

// A zone other than the route's where the stop or its station names one.
inline const date::time_zone* stopZone(const GtfsFeed& feed, const GtfsStop& stop) {
    return stop.zone ? stop.zone : feed.stops[static_cast<std::size_t>(stop.station)].zone;
}

} // namespace zeb
