#include "gtfs/read_ahead.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/valle_feed.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace zeb {
namespace {

char byteAt(std::uint64_t i) {
    return static_cast<char>((i * 131 + 7) % 251);
}

// `size` bytes given in pieces of random length, failing once `failAt` bytes are given.
class GeneratedStream : public ByteStream {
public:
    GeneratedStream(std::uint64_t size, std::uint64_t failAt, unsigned seed)
        : size_(size), failAt_(failAt), random_(seed) {}
    std::size_t read(char* buffer, std::size_t size) override {
        if (given_ == failAt_)
            throw GtfsError("guasto dopo " + std::to_string(given_) + " byte");
        std::uint64_t n = std::min<std::uint64_t>(size, 1 + random_() % 300'000);
        n = std::min({n, size_ - given_, failAt_ - given_});
        for (std::uint64_t k = 0; k < n; ++k)
            buffer[k] = byteAt(given_ + k);
        given_ += n;
        return static_cast<std::size_t>(n);
    }

private:
    std::uint64_t size_, failAt_, given_ = 0;
    std::mt19937 random_;
};

// Read ahead (each as large as reading ahead asks, whatever it holds), a stream gives the same
// bytes in the same order, and its error after them all.
TEST(GtfsReadAhead, TheSameBytesThenTheSameError) {
    constexpr std::uint64_t kNever = ~std::uint64_t{0};
    struct Case {
        std::uint64_t size;
        std::uint64_t failAt;
    };
    const std::vector<Case> cases = {
        {0, kNever},         {1, kNever},          {(256 << 10) - 1, kNever},
        {256 << 10, kNever}, {5'000'001, kNever},  {5'000'001, 0},
        {5'000'001, 777},    {5'000'001, 262'144}, {5'000'001, 4'999'999},
        {100, 100},
    };
    std::mt19937 random(3);
    for (const auto& [size, failAt] : cases) {
        SCOPED_TRACE(std::to_string(size) + " byte, guasto a " + std::to_string(failAt));
        auto stream = readingAhead(std::make_unique<GeneratedStream>(size, failAt, random()),
                                   kReadAheadBytes);
        std::vector<char> buffer(70'000);
        std::uint64_t read = 0;
        bool same = true;
        std::string error;
        try {
            while (const std::size_t got =
                       stream->read(buffer.data(), 1 + random() % buffer.size())) {
                for (std::size_t k = 0; k < got; ++k)
                    same &= buffer[k] == byteAt(read + k);
                read += got;
            }
        } catch (const GtfsError& e) {
            error = e.message();
        }
        EXPECT_TRUE(same);
        EXPECT_EQ(read, std::min(size, failAt));
        EXPECT_EQ(error, failAt <= size ? "guasto dopo " + std::to_string(failAt) + " byte" : "");
    }
}

// A reading left half way stops the thread reading ahead for it, at once.
TEST(GtfsReadAhead, ALeftReadingStopsItsThread) {
    for (int k = 0; k < 50; ++k) {
        auto stream =
            readingAhead(std::make_unique<GeneratedStream>(~0ull >> 1, ~0ull, 5), kReadAheadBytes);
        char some[10];
        EXPECT_GT(stream->read(some, sizeof some), 0u);
    }
    auto unread =
        readingAhead(std::make_unique<GeneratedStream>(~0ull >> 1, ~0ull, 5), kReadAheadBytes);
}

std::string zipOf(const test::FeedFiles& files) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    for (const auto& [name, text] : files)
        zip_file_add(archive, name.c_str(), zip_source_buffer(archive, text.data(), text.size(), 0),
                     0);
    zip_close(archive);
    zip_source_open(target);
    zip_source_seek(target, 0, SEEK_END);
    std::string bytes(static_cast<std::size_t>(zip_source_tell(target)), '\0');
    zip_source_seek(target, 0, SEEK_SET);
    zip_source_read(target, bytes.data(), bytes.size());
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

std::vector<std::string> callsOf(const FeedSource& source) {
    const GtfsFeed feed = loadFeed(source);
    const StationDay day = readStationDay(feed, stationsNamed(feed, "Valmora").at(0),
                                          date::sys_days(date::year{2024} / 3 / 6));
    std::vector<std::string> calls;
    for (const StationCall& call : day.calls)
        calls.push_back(call.train.numero + " " + std::to_string(call.minute) + " " +
                        call.train.binario);
    return calls;
}

// A day read from a zip whose stop_times is read ahead is the day read from the same texts, and
// a zip that breaks two thirds of the way says so.
TEST(GtfsReadAhead, AZipReadAheadGivesTheSameDay) {
    test::FeedFiles files = test::valleFeed();
    std::string& times = files["stop_times.txt"];
    for (int k = 0; times.size() < 3 * kReadAheadBytes; ++k) { // trips far from Valmora
        if (k % 50 == 0)
            files["trips.txt"] +=
                "RE,FER,x" + std::to_string(k / 50) + ",9" + std::to_string(k) + "\n";
        times += "x" + std::to_string(k / 50) + ",10:00:00,10:00:00,NORD," + std::to_string(k) +
                 ",0,0\n";
    }
    const std::vector<std::string> expected = callsOf(*feedFromTexts(files));
    ASSERT_EQ(expected.size(), 3u);
    const std::string zip = zipOf(files);
    EXPECT_EQ(callsOf(*feedFromZipBytes(zip)), expected);

    // The entry inflates past what it declares, two thirds of the way.
    const std::string broken =
        test::declaringSize(zip, "stop_times.txt", static_cast<std::uint32_t>(2 * kReadAheadBytes));
    try {
        callsOf(*feedFromZipBytes(broken));
        ADD_FAILURE() << "read a broken zip";
    } catch (const GtfsError& error) {
        EXPECT_EQ(error.message(),
                  "stop_times.txt: il file nello zip è più lungo di quanto dichiara");
    }
}

} // namespace
} // namespace zeb
