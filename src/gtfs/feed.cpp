#include "gtfs/feed.h"

#include "gtfs/feed_frequencies.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/gtfs_table.h"
#include "model/quoted_text.h"

#include <date/tz.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace zeb {

namespace {

const date::time_zone* zoneIn(const GtfsTable& table, int column) {
    const std::string_view name = table.field(column);
    if (name.empty())
        return nullptr;
    const date::time_zone* zone = findZone(name);
    if (!zone)
        table.fail(column, quotedBriefly(name) + " non è un fuso orario conosciuto");
    return zone;
}

date::sys_days dayIn(const GtfsTable& table, int column) {
    const auto day = gtfsDate(table.field(column));
    if (!day)
        table.fail(column, quotedBriefly(table.field(column)) + " non è una data AAAAMMGG");
    return *day;
}

// Each row of `table` through `read`; a row that cannot be read, or that `read` finds fault
// with, is skipped and kept in `skipped` in the order of lines, the first hundred of a file.
template <typename Read>
void eachRow(GtfsTable& table, std::vector<std::string>& skipped, Read read) {
    table.skipBadRows();
    std::vector<std::pair<long, std::string>> faults;
    while (table.next()) {
        try {
            read();
        } catch (const GtfsError& error) {
            if (faults.size() < kMostSkippedRows)
                faults.emplace_back(table.line(), error.message());
        }
    }
    faults.insert(faults.end(), table.skipped().begin(), table.skipped().end());
    std::stable_sort(faults.begin(), faults.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < faults.size() && i < kMostSkippedRows; ++i)
        skipped.push_back(std::move(faults[i].second));
}

// Agencies by id, each with its time zone; the first agency's is the feed's.
IndexOf readAgencies(const FeedSource& source, GtfsFeed& feed,
                     std::vector<const date::time_zone*>& zones) {
    GtfsTable table(source, "agency.txt");
    const int id = table.column("agency_id");
    const int zone = table.requiredColumn("agency_timezone");
    IndexOf agencies;
    while (table.next()) {
        const date::time_zone* z = zoneIn(table, zone);
        if (!z)
            table.fail(zone, "manca il fuso orario");
        agencies.insert(table.field(id), static_cast<int>(zones.size()));
        zones.push_back(z);
    }
    if (zones.empty())
        throw GtfsError("agency.txt: il file non elenca nessuna azienda");
    feed.zone = zones.front();
    return agencies;
}

void readStops(const FeedSource& source, GtfsFeed& feed) {
    GtfsTable table(source, "stops.txt");
    const int id = table.requiredColumn("stop_id");
    const int name = table.column("stop_name");
    const int type = table.column("location_type");
    const int parent = table.column("parent_station");
    const int platform = table.column("platform_code");
    const int zone = table.column("stop_timezone");
    std::vector<std::string> parents;
    while (table.next()) {
        GtfsStop stop;
        stop.id = table.field(id);
        stop.name = table.field(name);
        stop.platformCode = table.field(platform);
        stop.locationType = numberIn(table, type, 0);
        stop.zone = zoneIn(table, zone);
        if (!feed.stopIndex.insert(stop.id, static_cast<int>(feed.stops.size())))
            table.fail(id, "la fermata " + quotedBriefly(stop.id) + " compare due volte");
        parents.emplace_back(table.field(parent));
        feed.stops.push_back(std::move(stop));
    }
    for (std::size_t i = 0; i < feed.stops.size(); ++i) {
        const int parent = feed.stopIndex.find(parents[i]);
        if (!parents[i].empty() && parent >= 0 && parent != static_cast<int>(i))
            feed.stops[i].parent = parent;
    }
    // A station is a stop's topmost parent, looked up a few levels at most (platform, boarding
    // area), so that a loop of parents cannot hang.
    for (GtfsStop& stop : feed.stops) {
        int top = static_cast<int>(&stop - feed.stops.data());
        for (int depth = 0; depth < 4 && feed.stops[static_cast<std::size_t>(top)].parent >= 0;
             ++depth)
            top = feed.stops[static_cast<std::size_t>(top)].parent;
        stop.station = top;
    }
}

void readRoutes(const FeedSource& source, GtfsFeed& feed, IndexOf& routeIndex) {
    std::vector<const date::time_zone*> zones;
    const IndexOf agencies = readAgencies(source, feed, zones);
    GtfsTable table(source, "routes.txt");
    const int id = table.requiredColumn("route_id");
    const int agency = table.column("agency_id");
    const int shortName = table.column("route_short_name");
    const int longName = table.column("route_long_name");
    const int type = table.requiredColumn("route_type");
    const std::size_t skippedBefore = feed.skippedRows.size();
    eachRow(table, feed.skippedRows, [&] {
        GtfsRoute route;
        route.shortName = table.field(shortName);
        route.longName = table.field(longName);
        route.type = numberIn(table, type, 3);
        const int owner = agencies.find(table.field(agency));
        route.zone = owner < 0 ? feed.zone : zones[static_cast<std::size_t>(owner)];
        if (routeIndex.find(table.field(id)) >= 0)
            table.fail(id, "la linea " + quotedBriefly(table.field(id)) + " compare due volte");
        routeIndex.insert(table.field(id), static_cast<int>(feed.routes.size()));
        feed.routes.push_back(std::move(route));
    });
    if (feed.skippedRows.size() > skippedBefore) {
        GtfsRoute unreadable;
        unreadable.zone = feed.zone;
        unreadable.unreadable = feed.skippedRows[skippedBefore];
        feed.routes.push_back(std::move(unreadable));
    }
}

void widenDays(GtfsFeed& feed, date::sys_days from, date::sys_days to) {
    const bool first = feed.firstDay == date::sys_days{} && feed.lastDay == date::sys_days{};
    feed.firstDay = first ? from : std::min(feed.firstDay, from);
    feed.lastDay = first ? to : std::max(feed.lastDay, to);
}

// A service of the feed by its id, added where it is new.
using ServiceOf = std::function<GtfsService&(std::string_view)>;

void readCalendar(const FeedSource& source, GtfsFeed& feed, const ServiceOf& serviceOf) {
    GtfsTable table(source, "calendar.txt");
    const int id = table.requiredColumn("service_id");
    static constexpr const char* kDays[] = {"monday", "tuesday",  "wednesday", "thursday",
                                            "friday", "saturday", "sunday"};
    int days[7];
    for (int d = 0; d < 7; ++d)
        days[d] = table.requiredColumn(kDays[d]);
    const int start = table.requiredColumn("start_date");
    const int end = table.requiredColumn("end_date");
    while (table.next()) {
        GtfsService& service = serviceOf(table.field(id));
        for (int d = 0; d < 7; ++d) {
            const std::string_view flag = table.field(days[d]);
            if (flag != "0" && flag != "1")
                table.fail(days[d], quotedBriefly(flag) + " non è né 0 né 1");
            if (flag == "1")
                service.weekdays |= static_cast<std::uint8_t>(1 << d);
        }
        service.start = dayIn(table, start);
        service.end = dayIn(table, end);
        if (service.end < service.start)
            table.fail(end, "la data di fine viene prima di quella d'inizio");
        widenDays(feed, service.start, service.end);
    }
}

void readCalendarDates(const FeedSource& source, GtfsFeed& feed, const ServiceOf& serviceOf) {
    GtfsTable table(source, "calendar_dates.txt");
    const int id = table.requiredColumn("service_id");
    const int date = table.requiredColumn("date");
    const int type = table.requiredColumn("exception_type");
    while (table.next()) {
        GtfsService& service = serviceOf(table.field(id));
        const date::sys_days day = dayIn(table, date);
        const std::string_view kind = table.field(type);
        if (kind == "1")
            service.added.push_back(day);
        else if (kind == "2")
            service.removed.push_back(day);
        else
            table.fail(type, quotedBriefly(kind) + " non è né 1 né 2");
        widenDays(feed, day, day);
    }
}

IndexOf readServices(const FeedSource& source, GtfsFeed& feed) {
    if (!source.has("calendar.txt") && !source.has("calendar_dates.txt"))
        throw GtfsError("Nel feed mancano sia calendar.txt sia calendar_dates.txt: non si sa in "
                        "quali giorni corrono i treni");
    IndexOf serviceIndex;
    const ServiceOf serviceOf = [&](std::string_view id) -> GtfsService& {
        int index = serviceIndex.find(id);
        if (index < 0) {
            index = static_cast<int>(feed.services.size());
            serviceIndex.insert(id, index);
            feed.services.emplace_back();
        }
        return feed.services[static_cast<std::size_t>(index)];
    };
    if (source.has("calendar.txt"))
        readCalendar(source, feed, serviceOf);
    if (source.has("calendar_dates.txt"))
        readCalendarDates(source, feed, serviceOf);
    for (GtfsService& service : feed.services) {
        std::sort(service.added.begin(), service.added.end());
        std::sort(service.removed.begin(), service.removed.end());
    }
    return serviceIndex;
}

void readTrips(const FeedSource& source, GtfsFeed& feed, const IndexOf& routeIndex,
               const IndexOf& serviceIndex) {
    GtfsTable table(source, "trips.txt");
    const int route = table.requiredColumn("route_id");
    const int service = table.requiredColumn("service_id");
    const int id = table.requiredColumn("trip_id");
    const int shortName = table.column("trip_short_name");
    const int headsign = table.column("trip_headsign");
    const int block = table.column("block_id");
    const int unreadableRoute = !feed.routes.empty() && !feed.routes.back().unreadable.empty()
                                    ? static_cast<int>(feed.routes.size()) - 1
                                    : -1;
    eachRow(table, feed.skippedTrips, [&] {
        GtfsTrip trip;
        trip.id = table.field(id);
        trip.shortName = table.field(shortName);
        // Some feeds write the train's number as the headsign, the line as the short name.
        const std::string_view sign = table.field(headsign);
        if (!sign.empty() &&
            std::all_of(sign.begin(), sign.end(), [](char c) { return c >= '0' && c <= '9'; }))
            trip.headsign = sign;
        trip.route = routeIndex.find(table.field(route));
        if (trip.route < 0 && unreadableRoute >= 0)
            trip.route = unreadableRoute; // its row may be among those skipped
        if (trip.route < 0)
            table.fail(route,
                       "la linea " + quotedBriefly(table.field(route)) + " non è in routes.txt");
        trip.service = serviceIndex.find(table.field(service));
        if (const std::string_view blockId = table.field(block); !blockId.empty()) {
            trip.block = feed.blockIndex.find(blockId);
            if (trip.block < 0) {
                trip.block = static_cast<int>(feed.blockIndex.size());
                feed.blockIndex.insert(blockId, trip.block);
            }
        }
        if (feed.tripIndex.find(trip.id) >= 0)
            table.fail(id, "la corsa " + quotedBriefly(trip.id) + " compare due volte");
        feed.tripIndex.insert(trip.id, static_cast<int>(feed.trips.size()));
        feed.trips.push_back(std::move(trip));
    });
    feed.skippedRows.insert(feed.skippedRows.end(), feed.skippedTrips.begin(),
                            feed.skippedTrips.end());
}

} // namespace

bool GtfsService::runsOn(date::sys_days day) const {
    if (std::binary_search(added.begin(), added.end(), day))
        return true;
    if (day < start || day > end)
        return false;
    const unsigned weekday = date::weekday(day).iso_encoding() - 1; // Monday 0
    return (weekdays >> weekday & 1) != 0 &&
           !std::binary_search(removed.begin(), removed.end(), day);
}

const date::time_zone* findZone(std::string_view name) {
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

GtfsFeed loadFeed(const FeedSource& source) {
    GtfsFeed feed;
    feed.source = &source;
    readStops(source, feed);
    IndexOf routeIndex;
    readRoutes(source, feed, routeIndex);
    const IndexOf serviceIndex = readServices(source, feed);
    readTrips(source, feed, routeIndex, serviceIndex);
    readFrequencies(source, feed);
    feed.tripsOfService.assign(feed.services.size(), 0);
    for (std::size_t t = 0; t < feed.trips.size(); ++t) {
        if (feed.trips[t].service >= 0)
            feed.tripsOfService[static_cast<std::size_t>(feed.trips[t].service)] +=
                runsOf(feed, static_cast<int>(t));
    }
    return feed;
}

} // namespace zeb
