#pragma once

#include "gtfs/feed.h"
#include "gtfs/station_trips.h"
#include "gtfs/stop_times_scan.h"

#include <date/date.h>

#include <algorithm>
#include <array>

#include <cstdint>
#include <utility>
#include <vector>

// What makes a trip's row a call of a calendar day, shared by the station list and a station's
// day so that both count the same trains.

namespace zeb {

// A trip's rows in the order of their stop_sequence, a sequence written twice taken once (the
// first): a feed repeating a trip's rows would have it call twice.
inline void putInOrder(std::vector<TripRow>& rows) {
    auto before = [](const TripRow& a, const TripRow& b) { return a.sequence < b.sequence; };
    if (!std::is_sorted(rows.begin(), rows.end(), before)) // as feeds mostly write them
        std::stable_sort(rows.begin(), rows.end(), before);
    rows.erase(
        std::unique(rows.begin(), rows.end(),
                    [](const TripRow& a, const TripRow& b) { return a.sequence == b.sequence; }),
        rows.end());
}

// What passengers may do at a trip's row: alight where some stop came before, board where some
// stop comes after.
struct CallUse {
    bool mayAlight;
    bool mayBoard;
};
inline CallUse callUseAt(const std::vector<TripRow>& rows, std::size_t at) {
    return {at > 0 && rows[at].dropOff, at + 1 < rows.size() && rows[at].pickup};
}

// Of the calls of one number at one station, in the order they were made, the parts of one train
// run as several trips (from its origin, and from a station on its way): `partsOfOneTrain(i, j)`
// tells two such, and the one of the shorter trip (`tripRows`) is marked in `dropped`, where
// calls left out already stand marked. Returns how many it marked. A number's calls are few:
// each pair is compared, where they are 64 at most.
template <typename PartsOfOneTrain, typename TripRows>
int markSplitParts(std::vector<bool>& dropped, PartsOfOneTrain partsOfOneTrain, TripRows tripRows) {
    const std::size_t count = dropped.size();
    int marked = 0;
    for (std::size_t i = 0; i < count && count <= 64; ++i) {
        for (std::size_t j = i + 1; j < count; ++j) {
            if (dropped[i] || dropped[j] || !partsOfOneTrain(i, j))
                continue;
            dropped[tripRows(j) > tripRows(i) ? i : j] = true;
            ++marked;
        }
    }
    return marked;
}

// The runs of a trip, as offsets from its own times, each once and in order: {0}, or one run per
// headway of its frequencies. Rows of one headway overlapping each other cost at most what the
// seconds they span cost, never what their runs would.
std::vector<int> runOffsets(const GtfsFeed& feed, int trip, const std::vector<TripRow>& rows);

// A call on one run of its trip, in the station's local time: the minute of the calendar day of
// its first time there (arrival, else departure), and the minutes of their own days of that time
// and of its departure (else its first time).
struct RunTimes {
    int minute;
    int arrival;
    int departure;
    int serviceDay = 0; // the service day the run belongs to, from the calendar day: -1 before
    bool operator==(const RunTimes&) const = default;
};

// The runs of calls that fall on a calendar day, by the service days that may reach it.
class DayRuns {
public:
    DayRuns(const GtfsFeed& feed, date::sys_days day)
        : feed_(feed), day_(day), runs_(candidateRuns(feed, day)) {}

    // Of each service, the candidate days it runs on.
    std::uint16_t runsOf(int service) const {
        return service < 0 ? 0 : runs_[static_cast<std::size_t>(service)];
    }

    // `onRun(RunTimes)` for each service day and run of the call at `row` of a trip of `route`
    // that brings it to the calendar day, in order of service day, then run.
    template <typename OnRun>
    void forEachRun(const GtfsRoute& route, std::uint16_t runs, const TripRow& row,
                    const std::vector<int>& offsets, OnRun onRun) {
        const GtfsStop& stop = feed_.stops[static_cast<std::size_t>(row.stop)];
        const date::time_zone* zone = stopZone(feed_, stop);
        if (!zone)
            zone = route.zone;
        const int first = row.arrival >= 0 ? row.arrival : row.departure;
        const int leaving = row.departure >= 0 ? row.departure : first;
        if (offsets.empty())
            return;
        const auto [dayFrom, dayTo] = dayInUtc(zone);
        // The service days whose runs can reach the day at all, in order.
        const date::sys_seconds earliest = dayFrom - seconds(first) - seconds(offsets.back());
        const date::sys_seconds latest = dayTo - seconds(first) - seconds(offsets.front());
        for (int k = 0; k < kCandidateDays; ++k) {
            if ((runs >> k & 1) == 0)
                continue;
            const date::sys_seconds start = dayStart(route.zone, k);
            if (start < earliest)
                continue;
            if (start > latest)
                break;
            // Only the runs that can fall on the calendar day in the call's zone.
            const long long low = (dayFrom - start).count() - first;
            const long long high = (dayTo - start).count() - first;
            for (auto run = std::lower_bound(offsets.begin(), offsets.end(), low);
                 run != offsets.end() && *run <= high;) {
                const date::sys_seconds arriving = start + seconds(first + *run);
                const date::local_seconds at = localTime_(zone, arriving);
                const date::sys_seconds atHolds = localTime_.periodEnd();
                const auto atDay = date::floor<date::days>(at);
                if (atDay.time_since_epoch() != day_.time_since_epoch()) {
                    ++run;
                    continue;
                }
                const int minute = minutesOf(at - atDay);
                const date::sys_seconds leavingAt = start + seconds(leaving + *run);
                const date::local_seconds out = localTime_(zone, leavingAt);
                const date::sys_seconds outHolds = localTime_.periodEnd();
                const RunTimes times{minute, minute, minutesOf(out - date::floor<date::days>(out)),
                                     k - kDaysBack};
                // The runs after it within the same minute, here and leaving, each under the
                // same offset from UTC, make the same times: told without being timed again.
                auto secondsLeft = [](date::local_seconds t) -> long long {
                    return 60 - (t - date::floor<std::chrono::minutes>(t)).count();
                };
                const long long sameUntil =
                    *run + std::min({secondsLeft(at), secondsLeft(out),
                                     static_cast<long long>((atHolds - arriving).count()),
                                     static_cast<long long>((outHolds - leavingAt).count())});
                do {
                    onRun(times);
                    ++run;
                } while (run != offsets.end() && *run < sameUntil && *run <= high);
            }
        }
    }

private:
    // The start of candidate day `k` of `zone`'s services, kept for the zone last asked: most
    // feeds have one.
    date::sys_seconds dayStart(const date::time_zone* zone, int k) {
        if (!startsKnown_ || zone != startsZone_) {
            startsKnown_ = true;
            startsZone_ = zone;
            for (int d = 0; d < kCandidateDays; ++d)
                starts_[static_cast<std::size_t>(d)] =
                    clock_.dayStart(zone, day_ + date::days{d - kDaysBack});
        }
        return starts_[static_cast<std::size_t>(k)];
    }

    // The instants of the calendar day in `zone`, give or take the three hours its clocks may
    // change by and the noon its service days count from: the runs checked one by one lie within.
    std::pair<date::sys_seconds, date::sys_seconds> dayInUtc(const date::time_zone* zone) {
        if (!windowKnown_ || zone != windowZone_) {
            windowKnown_ = true;
            windowZone_ = zone;
            constexpr auto kSlack = std::chrono::hours(3);
            window_ = {clock_.dayStart(zone, day_) - kSlack,
                       clock_.dayStart(zone, day_ + date::days{1}) + kSlack};
        }
        return window_;
    }

    static std::chrono::seconds seconds(int value) { return std::chrono::seconds(value); }
    static int minutesOf(std::chrono::seconds sinceMidnight) {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::minutes>(sinceMidnight).count());
    }

    const GtfsFeed& feed_;
    date::sys_days day_;
    std::vector<std::uint16_t> runs_;
    ServiceClock clock_;
    LocalClock localTime_;
    bool startsKnown_ = false;
    const date::time_zone* startsZone_ = nullptr;
    std::array<date::sys_seconds, kCandidateDays> starts_{};
    bool windowKnown_ = false;
    const date::time_zone* windowZone_ = nullptr;
    std::pair<date::sys_seconds, date::sys_seconds> window_;
};

} // namespace zeb
