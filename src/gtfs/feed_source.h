#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace zeb {

// The bytes of one file of a feed, read front to back in pieces.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Up to `size` bytes into `buffer`; 0 at the end. Throws GtfsError when the file is damaged.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// The files of a GTFS feed: a zip, or a folder holding the .txt files. In a zip the files lie at
// the root or inside one folder; "__MACOSX" entries and "._" files are not the feed's.
class FeedSource {
public:
    virtual ~FeedSource() = default;
    virtual bool has(std::string_view name) const = 0;
    // The file's size once inflated; 0 for a file the feed lacks.
    virtual std::uint64_t size(std::string_view name) const = 0;
    // Throws GtfsError when the file is missing, past the limits or cannot be opened.
    virtual std::unique_ptr<ByteStream> open(std::string_view name) const = 0;
};

// The largest file read as a stream (stop_times.txt) and the largest one whose rows are kept.
inline constexpr std::uint64_t kMaxStreamedFileBytes = 8ULL << 30;
inline constexpr std::uint64_t kMaxKeptFileBytes = 512ULL << 20;

// A zip or a folder at `path`; throws GtfsError when it is neither or cannot be opened.
std::unique_ptr<FeedSource> openFeed(const std::string& path);
// A zip held in memory (tests and the fuzz target).
std::unique_ptr<FeedSource> feedFromZipBytes(std::string bytes);
// Files given by name and contents (tests and the fuzz target).
std::unique_ptr<FeedSource> feedFromTexts(std::map<std::string, std::string> files);

} // namespace zeb
