// The trips run at intervals: frequencies.txt read as it comes, a row repeated costing nothing.

#include "gtfs/feed_frequencies.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/gtfs_table.h"
#include "model/quoted_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace zeb {

namespace {

constexpr int kMaxRunsPerFrequency = 1440;

// A row a trip already has adds no run: dropped before anything is expanded, so that a feed
// repeating one row a million times costs what one row costs, and as rows come, so that rows
// repeated apart keep the memory of those that differ. Returns the rows kept.
std::size_t dropRepeatedFrequencies(GtfsFeed& feed) {
    std::size_t kept = 0;
    for (auto& [t, rows] : feed.frequencies) {
        if (!std::is_sorted(rows.begin(), rows.end()))
            std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        if (rows.capacity() > 2 * rows.size())
            rows.shrink_to_fit();
        kept += rows.size();
    }
    return kept;
}

// Rows read lately, by a hash of their text: a row repeated a few rows apart, as a feed made to
// exhaust the reading repeats them, is known before any of its values is read, and is never kept
// twice. Longer rows than kLongest bytes are always read: the slots hold short rows only.
class RecentRows {
public:
    static constexpr std::size_t kLongest = 120;

    // True when `row` is among the rows seen lately; else it is one of them from now on.
    bool seen(std::string_view row) {
        if (row.empty() || row.size() > kLongest)
            return false;
        const std::uint64_t hash = hashOf(row);
        Slot& slot = slots_[hash >> 56];
        if (slot.hash == hash && textOf(slot) == row)
            return true;
        slot.hash = hash;
        slot.length = static_cast<std::uint8_t>(row.size());
        std::memcpy(slot.text.data(), row.data(), row.size());
        return false;
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint8_t length = 0;
        std::array<char, kLongest> text;
    };
    static std::string_view textOf(const Slot& slot) { return {slot.text.data(), slot.length}; }
    // Eight bytes at a time, the last eight read whole even where they overlap those before:
    // rows are short, and this runs for each.
    static std::uint64_t hashOf(std::string_view row) {
        constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;
        std::uint64_t hash = row.size() * kMix;
        auto mix = [&](std::uint64_t word) {
            hash = (hash ^ word) * kMix;
            hash ^= hash >> 31;
        };
        if (row.size() < 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, row.data(), row.size());
            mix(word);
            return hash;
        }
        std::uint64_t word;
        for (std::size_t k = 0; k + 8 < row.size(); k += 8) {
            std::memcpy(&word, row.data() + k, 8);
            mix(word);
        }
        std::memcpy(&word, row.data() + row.size() - 8, 8);
        mix(word);
        return hash;
    }
    std::array<Slot, 256> slots_{};
};

} // namespace

void readFrequencies(const FeedSource& source, GtfsFeed& feed) {
    if (!source.has("frequencies.txt"))
        return;
    GtfsTable table(source, "frequencies.txt");
    const int trip = table.requiredColumn("trip_id");
    const int start = table.requiredColumn("start_time");
    const int end = table.requiredColumn("end_time");
    const int headway = table.requiredColumn("headway_secs");
    constexpr std::size_t kRowsBeforeCompaction = 1 << 16;
    std::size_t kept = 0, nextCompaction = kRowsBeforeCompaction;
    std::string lastTrip; // a trip's rows mostly come together: its id and rows are kept
    int t = -1;
    std::vector<GtfsFrequency>* rows = nullptr;
    RecentRows recent;
    while (table.next()) {
        // A row seen lately, the one before most often, costs a hash and no reading. A row seen
        // once is known from then on: one the reading refuses stops it, and one of a trip whose
        // row was skipped is passed over each time.
        if (recent.seen(table.plainRow()))
            continue;
        const auto [tripId, startText, endText, headwayText] =
            table.values(std::array{trip, start, end, headway});
        if (!rows || tripId != lastTrip) {
            const int found = feed.tripIndex.find(tripId);
            if (found < 0 && !feed.skippedTrips.empty())
                continue; // of a trip whose row was skipped, if of any
            if (found < 0)
                table.fail(trip, "la corsa " + quotedBriefly(tripId) + " non è in trips.txt");
            t = found;
            lastTrip.assign(tripId);
            rows = &feed.frequencies[t];
        }
        const auto from = gtfsSeconds(startText);
        const auto to = gtfsSeconds(endText);
        if (!from)
            table.fail(start, quotedBriefly(startText) + " non è un orario");
        if (!to || *to < *from)
            table.fail(end, quotedBriefly(endText) + " non è un orario dopo l'inizio");
        const int every = numberIn(table, headway, headwayText, 0);
        if (every <= 0 || *to - *from >= std::int64_t{kMaxRunsPerFrequency} * every)
            table.fail(headway, "l'intervallo deve dare da 1 a " +
                                    std::to_string(kMaxRunsPerFrequency) + " corse");
        rows->push_back({every, *from, *to});
        if (++kept == nextCompaction) {
            kept = dropRepeatedFrequencies(feed);
            nextCompaction = 2 * kept + kRowsBeforeCompaction;
        }
    }
    dropRepeatedFrequencies(feed);
}

std::int64_t runsOf(const GtfsFeed& feed, int trip) {
    const auto it = feed.frequencies.find(trip);
    if (it == feed.frequencies.end())
        return 1;
    std::int64_t runs = 0;
    for (const GtfsFrequency& f : it->second)
        runs += (f.end - f.start) / f.headway + 1;
    return runs;
}

} // namespace zeb
