#include "gtfs/feed.h"
#include "gtfs/feed_source.h"
#include "gtfs/gtfs_table.h"

#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <random>
#include <string>

namespace zeb {
namespace {

// Readings written the slow, plain way, for the fast ones to agree with.
std::optional<int> numberPlainly(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> secondsPlainly(std::string_view text) {
    const auto first = text.find(':');
    if (first == std::string_view::npos || first < 1 || first > 3 || text.size() != first + 6 ||
        text[first + 3] != ':')
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != first && i != first + 3 && (text[i] < '0' || text[i] > '9'))
            return std::nullopt;
    }
    const int hours = std::stoi(std::string(text.substr(0, first)));
    const int minutes = std::stoi(std::string(text.substr(first + 1, 2)));
    const int seconds = std::stoi(std::string(text.substr(first + 4, 2)));
    if (minutes > 59 || seconds > 59)
        return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
}

TEST(GtfsValues, TimesAndNumbersReadAsTheSlowReadingReadsThem) {
    const char* const times[] = {"7:33:00",    "07:33:00", "25:10:00", "999:59:59", "0:00:00",
                                 "7:60:00",    "7:33:60",  "7:3:00",   "7:33:0",    ":33:00",
                                 "1000:00:00", "7-33-00",  "7:33:0a",  "a:33:00",   "",
                                 "7:33:00 ",   "-1:33:00", "7:33",     "12:3a:00",  "12::3:00"};
    for (const char* text : times)
        EXPECT_EQ(gtfsSeconds(text), secondsPlainly(text)) << '"' << text << '"';
    const char* const numbers[] = {
        "0",         "60",         "-5",         "+5",         "123456789",
        "999999999", "1234567890", "2147483647", "2147483648", "-2147483648",
        "12a",       "",           " 1",         "1 ",         "0000000000007",
        "-"};
    for (const char* text : numbers)
        EXPECT_EQ(wholeNumber(text), numberPlainly(text)) << '"' << text << '"';
    // Random short texts of digits, colons and a few strangers.
    std::mt19937 random(11);
    const std::string alphabet = "0123456789::-+a /";
    for (int k = 0; k < 200000; ++k) {
        std::string text;
        const std::size_t length = random() % 11;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        ASSERT_EQ(gtfsSeconds(text), secondsPlainly(text)) << '"' << text << '"';
        ASSERT_EQ(wholeNumber(text), numberPlainly(text)) << '"' << text << '"';
    }
}

// Values asked together give what each asked alone gives, on rows short, long, blank-padded,
// quoted or ending in a comma, with bytes next to a comma's (+, -), for columns the row lacks
// and for none; fixed rows first, then random ones.
TEST(GtfsValues, AskedTogetherAsEachAlone) {
    std::string text = "a,b,c,d\n"
                       "1,2,3,4\n"
                       " 1 ,\t2, 3 ,4\t\r\n"
                       "1,2\n"
                       "1,2,3,4,5,6\n"
                       "\"1,x\",2,\"3\"\"\",4\n"
                       "1,,,\n"
                       ",\n"
                       "x\n"
                       "-,-+,,--,,,abcdefgh,ijklmnop,q-,r\n";
    std::mt19937 random(5);
    const std::string alphabet = ",,,-+-a \t";
    for (int row = 0; row < 5000; ++row) {
        const std::size_t length = 1 + random() % 70;
        for (std::size_t k = 0; k < length; ++k)
            text += alphabet[random() % alphabet.size()];
        text += '\n';
    }
    const auto feed = feedFromTexts({{"t.txt", text}});
    GtfsTable table(*feed, "t.txt");
    const std::array<int, 6> columns{3, 0, -1, 2, 1, table.column("e")};
    const std::array<int, 2> far{9, 31};
    const std::array<int, 2> beyond{31, 40}; // past what is split at once
    int rows = 0;
    while (table.next()) {
        const auto together = table.values(columns);
        for (std::size_t k = 0; k < columns.size(); ++k)
            ASSERT_EQ(together[k], table.field(columns[k])) << "line " << table.line();
        for (const auto& asked : {far, beyond}) {
            const auto found = table.values(asked);
            for (std::size_t k = 0; k < asked.size(); ++k)
                ASSERT_EQ(found[k], table.field(asked[k])) << "line " << table.line();
        }
        ASSERT_EQ(table.values(std::array{-1})[0], "");
        ++rows;
    }
    EXPECT_GT(rows, 4900); // less the blank ones
}

} // namespace
} // namespace zeb
