#include "gtfs/valle_feed.h"

#include <stdexcept>

namespace zeb::test {

FeedFiles valleFeed() {
    return {
        {"agency.txt", "agency_id,agency_name,agency_url,agency_timezone\n"
                       "A,Ferrovie di Valle,http://valle.example,Europe/Rome\n"},
        {"stops.txt", "stop_id,stop_name,location_type,parent_station,platform_code\n"
                      "VAL,Valmora,1,,\n"
                      "VAL1,Valmora,0,VAL,Binario 1\n"
                      "VAL2,Valmora,0,VAL,Gleis 2\n"
                      "VALX,Valmora,0,VAL,NB\n"
                      "NORD,Nordia,,,\n"
                      "PIE,Pieve,,,\n"
                      "ROC,Rocca,,,\n"
                      "SUD,Sudia,,,\n"},
        {"routes.txt", "route_id,agency_id,route_short_name,route_long_name,route_type\n"
                       "RE,A,RE,Regionale Espresso,2\n"
                       "BUS,A,,Servizio sostitutivo,3\n"},
        {"trips.txt", "route_id,service_id,trip_id,trip_short_name\n"
                      "RE,FER,t1,2231\n"
                      "RE,FER,t2,2233\n"
                      "RE,FER,t3,2235\n"
                      "BUS,FES,b1,\n"},
        {"stop_times.txt",
         "trip_id,arrival_time,departure_time,stop_id,stop_sequence,pickup_type,drop_off_type\n"
         "t1,7:40:00,7:40:00,NORD,1,0,0\n"
         "t1,7:55:00,7:57:00,VAL1,2,0,0\n"
         "t1,8:10:00,8:10:00,PIE,3,0,0\n"
         "t1,8:20:00,8:20:00,ROC,4,0,0\n"
         "t1,8:40:00,8:40:00,SUD,5,0,0\n"
         "t2,,9:05:00,VAL2,1,0,0\n"
         "t2,9:30:00,9:30:00,SUD,2,0,0\n"
         "t3,23:30:00,23:30:00,SUD,1,0,0\n"
         "t3,24:10:00,24:10:00,VALX,2,0,0\n"
         "b1,12:00:00,12:00:00,VAL,1,0,0\n"
         "b1,12:30:00,12:30:00,PIE,2,0,0\n"},
        {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,"
                         "start_date,end_date\n"
                         "FER,1,1,1,1,1,0,0,20240101,20241231\n"},
        {"calendar_dates.txt", "service_id,date,exception_type\n"
                               "FER,20240307,2\n"
                               "FES,20240309,1\n"},
    };
}

void edit(FeedFiles& feed, const std::string& file, const std::string& from,
          const std::string& to) {
    std::string& text = feed.at(file);
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("no «" + from + "» in " + file);
    text.replace(at, from.size(), to);
}

std::string declaringSize(std::string zip, const std::string& name, std::uint32_t size) {
    auto put = [&](std::size_t at) {
        for (int i = 0; i < 4; ++i)
            zip[at + static_cast<std::size_t>(i)] = static_cast<char>(size >> (8 * i) & 0xFF);
    };
    for (std::size_t at = zip.find(name); at != std::string::npos; at = zip.find(name, at + 1)) {
        if (zip.compare(at - 46, 4, "PK\x01\x02") == 0)
            put(at - 46 + 24);
        else if (zip.compare(at - 30, 4, "PK\x03\x04") == 0)
            put(at - 30 + 22);
    }
    return zip;
}

} // namespace zeb::test
