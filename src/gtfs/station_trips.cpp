#include "gtfs/station_trips.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/stop_times_scan.h"
#include "model/quoted_text.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <map>
#include <set>

namespace zeb {

namespace {

// A row kept as text until its trip is known to call at the station, so that the rows of
// other trips cost no parsing: the row as the file has it, or, for a row with quotes, its six
// values one after the other.
struct RawRow {
    long line;
    std::size_t start;
    bool plain;
    std::array<std::uint32_t, 6> lengths; // stop, arrival, departure, sequence, pickup, drop-off
};
constexpr const char* kRawColumns[] = {"stop_id",       "arrival_time", "departure_time",
                                       "stop_sequence", "pickup_type",  "drop_off_type"};

[[noreturn]] void failInRow(long line, int column, const std::string& what) {
    throw GtfsError("stop_times.txt, riga " + std::to_string(line) + ", colonna " +
                    kRawColumns[column] + ": " + what);
}

int secondsOf(std::string_view text, long line, int column) {
    if (text.empty())
        return -1;
    const auto seconds = gtfsSeconds(text);
    if (!seconds)
        failInRow(line, column, quotedBriefly(text) + " non è un orario H:MM:SS");
    return *seconds;
}

// Hands the trips that call at the station on a candidate day over as their rows end, with a
// second pass for the trips whose rows lie apart.
class StationTrips {
public:
    StationTrips(const GtfsFeed& feed, int station, date::sys_days day,
                 const StationTripsVisitor& visitor)
        : feed_(feed), visitor_(visitor), runs_(candidateRuns(feed, day)),
          groups_(feed.trips.size(), 0), handedOver_(feed.trips.size(), false),
          scattered_(feed.trips.size(), false), anyStation_(station == kEveryStation) {
        for (std::size_t i = 0; i < feed.stops.size(); ++i) {
            if (feed.stops[i].station == station) {
                stationStops_.insert(feed.stops[i].id, static_cast<int>(i));
                if (!feed.stops[i].id.empty())
                    firstBytes_.set(static_cast<unsigned char>(feed.stops[i].id.front()));
            }
        }
    }

    int read(const ScanProgress& progress) {
        scan(progress, [](int) { return true; });
        if (std::find(scattered_.begin(), scattered_.end(), true) != scattered_.end()) {
            rereading_ = true;
            scan(progress, [&](int trip) { return scattered_[static_cast<std::size_t>(trip)]; });
            for (auto& [trip, rows] : kept_) {
                if (!tooLong_.contains(trip))
                    visitor_.trip(trip, rows);
            }
        }
        return static_cast<int>(leftOut_.size());
    }

private:
    template <typename Wanted> void scan(const ScanProgress& progress, Wanted wanted) {
        trip_ = -1;
        TripCursor cursor(feed_);
        scanStopTimes(feed_, progress, [&](const GtfsTable& table, const StopTimeColumns& c) {
            if (trip_ < 0) {
                columns_ = {c.stop, c.arrival, c.departure, c.sequence, c.pickup, c.dropOff};
            }
            bool changed = false;
            const int trip = cursor.trip(table, c.trip, changed);
            if (trip < 0) {
                refuseIfHere(table, c);
                return;
            }
            if (changed)
                startGroup(trip, wanted(trip));
            if (!relevant_)
                return;
            if (!touches_ && anyStation_) {
                touches_ = true;
            } else if (!touches_) {
                // Most stops are told apart from the station's by their first byte alone.
                const std::string_view stop = table.field(c.stop);
                touches_ = !stop.empty() && firstBytes_.test(static_cast<unsigned char>(stop[0])) &&
                           stationStops_.find(stop) >= 0;
            }
            if (keepRows_)
                keepRow(table);
        });
        finishGroup();
    }

    // A row of a trip whose row in trips.txt could not be read: the day needs it where it calls
    // at the station, and cannot be read without it.
    void refuseIfHere(const GtfsTable& table, const StopTimeColumns& c) const {
        if (anyStation_ || stationStops_.find(table.field(c.stop)) < 0)
            return;
        table.fail(c.trip, "la corsa " + quotedBriefly(table.field(c.trip)) +
                               " ferma alla stazione, ma non è in trips.txt, di cui non si legge " +
                               feed_.skippedTrips.front());
    }

    void startGroup(int trip, bool wanted) {
        finishGroup();
        trip_ = trip;
        const auto t = static_cast<std::size_t>(trip);
        const int service = feed_.trips[t].service;
        relevant_ = service >= 0 && runs_[static_cast<std::size_t>(service)] != 0 && wanted;
        keepRows_ = relevant_ && (rereading_ || groups_[t] == 0) && !tooLong_.contains(trip);
        if (rereading_)
            return;
        if (groups_[t] > 0 && handedOver_[t]) {
            // Its rows go on here after other trips': what was handed over was part of them.
            handedOver_[t] = false;
            scattered_[t] = true;
            visitor_.partial(trip);
        }
        if (groups_[t] < 255)
            ++groups_[t];
    }

    // A row of a trip known to call at the station is read at once, the rows before it then;
    // the others are kept as text.
    void keepRow(const GtfsTable& table) {
        if (touches_) {
            parseKept();
            rows_.push_back(rowOf(table.values(columns_), table.line()));
        } else {
            keepText(table);
        }
        const std::size_t rows =
            group_.size() + rows_.size() + (rereading_ ? kept_[trip_].size() : std::size_t{0});
        if (rows > kMaxTripRows || text_.size() > kMaxTripBytes)
            leaveOut(trip_);
    }

    void keepText(const GtfsTable& table) {
        RawRow row{table.line(), text_.size(), !table.plainRow().empty(), {}};
        if (row.plain) {
            text_.append(table.plainRow());
            row.lengths[0] = static_cast<std::uint32_t>(table.plainRow().size());
        } else {
            for (std::size_t k = 0; k < row.lengths.size(); ++k) {
                const std::string_view value = table.field(columns_[k]);
                text_.append(value);
                row.lengths[k] = static_cast<std::uint32_t>(value.size());
            }
        }
        group_.push_back(row);
    }

    // The rows kept as text, read.
    void parseKept() {
        for (const RawRow& raw : group_)
            rows_.push_back(parsed(raw));
        group_.clear();
        text_.clear();
    }

    // A trip too long for any timetable: its rows are dropped as soon as that is known.
    void leaveOut(int trip) {
        tooLong_.insert(trip);
        keepRows_ = false;
        group_ = {};
        text_ = {};
        rows_ = {};
        if (const auto kept = kept_.find(trip); kept != kept_.end()) {
            scatteredRows_ -= kept->second.size();
            kept_.erase(kept);
        }
    }

    void finishGroup() {
        if (trip_ >= 0 && relevant_ && (touches_ || rereading_))
            handOver();
        group_.clear();
        text_.clear();
        rows_.clear();
        touches_ = false;
    }

    void handOver() {
        const auto t = static_cast<std::size_t>(trip_);
        if (tooLong_.contains(trip_)) {
            leftOut_.insert(trip_); // it calls at the station
            return;
        }
        if (rereading_) {
            scatteredRows_ += group_.size();
            if (scatteredRows_ > kMaxScatteredRows)
                throw GtfsError("stop_times.txt: le righe delle corse sparse nel file sono "
                                "troppe da tenere insieme (più di " +
                                std::to_string(kMaxScatteredRows) + ")");
            parseKept();
            auto& rows = kept_[trip_];
            rows.insert(rows.end(), rows_.begin(), rows_.end());
        } else if (groups_[t] > 1) {
            scattered_[t] = true; // read whole in the second pass
        } else {
            parseKept();
            handedOver_[t] = true;
            visitor_.trip(trip_, rows_);
        }
    }

    TripRow parsed(const RawRow& raw) const {
        std::array<std::string_view, 6> fields{};
        if (raw.plain) {
            // The row's values by the header's columns, trimmed as GtfsTable::field trims them.
            const std::string_view text = std::string_view(text_).substr(raw.start, raw.lengths[0]);
            std::size_t at = 0;
            for (int column = 0;; ++column) {
                const auto comma = text.find(',', at);
                const std::string_view value = trimmedValue(text.substr(at, comma - at));
                for (std::size_t k = 0; k < fields.size(); ++k) {
                    if (columns_[k] == column)
                        fields[k] = value;
                }
                if (comma == std::string_view::npos)
                    break;
                at = comma + 1;
            }
        } else {
            std::size_t at = raw.start;
            for (std::size_t k = 0; k < fields.size(); ++k) {
                fields[k] = std::string_view(text_).substr(at, raw.lengths[k]);
                at += raw.lengths[k];
            }
        }
        return rowOf(fields, raw.line);
    }

    // A row from its values: stop, arrival, departure, sequence, pickup, drop-off.
    TripRow rowOf(const std::array<std::string_view, 6>& fields, long line) const {
        TripRow row{feed_.stopIndex.find(fields[0]), 0,
                    secondsOf(fields[1], line, 1),   secondsOf(fields[2], line, 2),
                    !noPassengers(fields[4]),        !noPassengers(fields[5])};
        if (row.stop < 0)
            failInRow(line, 0, "la fermata " + quotedBriefly(fields[0]) + " non è in stops.txt");
        const auto sequence = wholeNumber(fields[3]);
        if (!sequence)
            failInRow(line, 3, quotedBriefly(fields[3]) + " non è un numero intero");
        row.sequence = *sequence;
        return row;
    }

    const GtfsFeed& feed_;
    const StationTripsVisitor& visitor_;
    std::array<int, 6> columns_{}; // of the raw values in stop_times.txt
    TextIndex stationStops_;
    std::bitset<256> firstBytes_; // of the station's stop ids
    std::vector<std::uint16_t> runs_;
    std::vector<std::uint8_t> groups_;         // how many separate runs of rows each trip has
    std::vector<bool> handedOver_;             // in the first pass, from a single run of rows
    std::vector<bool> scattered_;              // to be read whole in the second pass
    std::set<int> tooLong_;                    // of more rows than any timetable
    std::set<int> leftOut_;                    // those of them that call at the station
    std::map<int, std::vector<TripRow>> kept_; // the scattered trips' rows
    std::size_t scatteredRows_ = 0;
    std::vector<RawRow> group_; // the group's rows kept as text, before its call at the station
    std::string text_;          // their values
    std::vector<TripRow> rows_; // the group's rows read
    int trip_ = -1;
    bool relevant_ = false;
    bool keepRows_ = false;
    bool touches_ = false;
    bool rereading_ = false;
    bool anyStation_;
};

} // namespace

int readStationTrips(const GtfsFeed& feed, int station, date::sys_days day,
                     const ScanProgress& progress, const StationTripsVisitor& visitor) {
    return StationTrips(feed, station, day, visitor).read(progress);
}

} // namespace zeb
