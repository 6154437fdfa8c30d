#include "gtfs/feed_source.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/read_ahead.h"
#include "model/quoted_text.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>

namespace zeb {

namespace {

std::uint64_t limitFor(std::string_view name) {
    return name == "stop_times.txt" ? kMaxStreamedFileBytes : kMaxKeptFileBytes;
}

void checkSize(std::string_view name, std::uint64_t size) {
    const std::uint64_t limit = limitFor(name);
    if (size > limit)
        throw GtfsError(std::string(name) + ": il file è troppo grande (" +
                        std::to_string(size >> 20) + " MB, al massimo " +
                        std::to_string(limit >> 20) + " MB)");
}

// The file name a zip entry stands for, or "" for entries that are not the feed's: folders,
// the Finder's "__MACOSX" copies and "._" files, anything deeper than one folder.
std::string_view feedFileName(std::string_view entry, bool& inFolder) {
    if (entry.empty() || entry.ends_with('/') || entry.starts_with("__MACOSX/"))
        return {};
    const auto slash = entry.find('/');
    inFolder = slash != std::string_view::npos;
    const std::string_view base = inFolder ? entry.substr(slash + 1) : entry;
    if (base.find('/') != std::string_view::npos || base.starts_with("._"))
        return {};
    return base;
}

// What went wrong in the zip library, in Italian.
std::string zipErrorText(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
        return "non è un archivio zip";
    case ZIP_ER_INCONS:
    case ZIP_ER_EOF:
        return "l'archivio zip è incompleto o incoerente";
    case ZIP_ER_CRC:
        return "il controllo dei dati (CRC) non torna";
    case ZIP_ER_ZLIB:
        return "i dati compressi sono danneggiati";
    case ZIP_ER_COMPNOTSUPP:
        return "il metodo di compressione non è supportato";
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return "l'archivio è cifrato";
    case ZIP_ER_MULTIDISK:
        return "gli archivi su più dischi non sono supportati";
    case ZIP_ER_MEMORY:
        return "la memoria non basta";
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return "errore di lettura del file";
    default:
        return "errore " + std::to_string(code) + " della libreria zip";
    }
}

std::string zipErrorText(zip_error_t* error) {
    return zipErrorText(zip_error_code_zip(error));
}

// A file inflated from the zip. The archive is one for all its files, which may be read on other
// threads (see readingAhead): each call into it holds the archive's lock.
class ZipStream : public ByteStream {
public:
    ZipStream(zip_file_t* file, std::string name, std::uint64_t declared,
              std::shared_ptr<std::mutex> archiveLock)
        : file_(file), name_(std::move(name)), left_(declared), lock_(std::move(archiveLock)) {}
    ~ZipStream() override {
        const std::lock_guard lock(*lock_);
        zip_fclose(file_);
    }

    std::size_t read(char* buffer, std::size_t size) override {
        std::unique_lock lock(*lock_);
        const zip_int64_t got = zip_fread(file_, buffer, size);
        lock.unlock();
        if (got < 0)
            throw GtfsError(name_ + ": il file nello zip è danneggiato (" +
                            zipErrorText(zip_file_get_error(file_)) + ")");
        // An entry inflating past its declared size is refused rather than followed.
        if (static_cast<std::uint64_t>(got) > left_)
            throw GtfsError(name_ + ": il file nello zip è più lungo di quanto dichiara");
        left_ -= static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }

private:
    zip_file_t* file_;
    std::string name_;
    std::uint64_t left_;
    std::shared_ptr<std::mutex> lock_;
};

class ZipFeed : public FeedSource {
public:
    // Takes `archive`, or closes it and throws when it holds the files of several feeds, in
    // different folders.
    ZipFeed(zip_t* archive, std::unique_ptr<std::string> bytes)
        : archive_(archive), bytes_(std::move(bytes)) {
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        std::set<std::string> places; // the folders holding the feed's main files, "" the root
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !st.name)
                continue;
            bool inFolder = false;
            const std::string_view name = feedFileName(st.name, inFolder);
            if (name.empty())
                continue;
            auto [it, added] = entries_.try_emplace(std::string(name), Entry{});
            // A file at the root wins over one inside a folder.
            if (added || (it->second.inFolder && !inFolder))
                it->second = Entry{static_cast<zip_uint64_t>(i), st.size, inFolder};
            if (name == "stops.txt" || name == "routes.txt" || name == "trips.txt" ||
                name == "stop_times.txt")
                places.insert(std::string(std::string_view(st.name).substr(
                    0, inFolder ? std::string_view(st.name).find('/') : 0)));
        }
        // Two feeds in one zip would be read as one, mixed: the user picks one.
        if (places.size() > 1) {
            zip_discard(archive_);
            std::string named;
            for (const std::string& place : places)
                named +=
                    (named.empty() ? "" : ", ") +
                    (place.empty() ? std::string("la cartella principale") : quotedBriefly(place));
            throw GtfsError("Lo zip contiene i file di più orari (" + named +
                            "): estrarre quello voluto e scegliere il suo stops.txt");
        }
    }
    ~ZipFeed() override { zip_discard(archive_); }

    bool has(std::string_view name) const override { return entries_.contains(std::string(name)); }
    std::uint64_t size(std::string_view name) const override {
        const auto it = entries_.find(std::string(name));
        return it == entries_.end() ? 0 : it->second.size;
    }
    std::unique_ptr<ByteStream> open(std::string_view name) const override {
        const auto it = entries_.find(std::string(name));
        if (it == entries_.end())
            throw GtfsError("Nel feed manca il file " + std::string(name));
        checkSize(name, it->second.size);
        std::unique_lock lock(*lock_);
        zip_file_t* file = zip_fopen_index(archive_, it->second.index, 0);
        if (!file)
            throw GtfsError(std::string(name) + ": il file nello zip non si può aprire (" +
                            zipErrorText(zip_get_error(archive_)) + ")");
        lock.unlock();
        return readingAhead(
            std::make_unique<ZipStream>(file, std::string(name), it->second.size, lock_),
            it->second.size);
    }

private:
    struct Entry {
        zip_uint64_t index = 0;
        std::uint64_t size = 0;
        bool inFolder = false;
    };
    zip_t* archive_;
    std::shared_ptr<std::mutex> lock_ = std::make_shared<std::mutex>();
    std::unique_ptr<std::string> bytes_; // the archive's bytes when it was given in memory
    std::map<std::string, Entry> entries_;
};

class FileStream : public ByteStream {
public:
    FileStream(const std::filesystem::path& path, std::string name)
        : in_(path, std::ios::binary), name_(std::move(name)) {
        if (!in_)
            throw GtfsError(name_ + ": il file non si può aprire");
    }
    std::size_t read(char* buffer, std::size_t size) override {
        in_.read(buffer, static_cast<std::streamsize>(size));
        if (in_.bad())
            throw GtfsError(name_ + ": errore di lettura");
        return static_cast<std::size_t>(in_.gcount());
    }

private:
    std::ifstream in_;
    std::string name_;
};

class FolderFeed : public FeedSource {
public:
    explicit FolderFeed(std::filesystem::path folder) : folder_(std::move(folder)) {}

    bool has(std::string_view name) const override {
        std::error_code ec;
        return std::filesystem::is_regular_file(folder_ / name, ec);
    }
    std::uint64_t size(std::string_view name) const override {
        std::error_code ec;
        const auto bytes = std::filesystem::file_size(folder_ / name, ec);
        return ec ? 0 : bytes;
    }
    std::unique_ptr<ByteStream> open(std::string_view name) const override {
        if (!has(name))
            throw GtfsError("Nel feed manca il file " + std::string(name));
        const std::uint64_t bytes = size(name);
        checkSize(name, bytes);
        return readingAhead(std::make_unique<FileStream>(folder_ / name, std::string(name)), bytes);
    }

private:
    std::filesystem::path folder_;
};

class TextStream : public ByteStream {
public:
    explicit TextStream(std::string_view text) : text_(text) {}
    std::size_t read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size());
        std::memcpy(buffer, text_.data(), n);
        text_.remove_prefix(n);
        return n;
    }

private:
    std::string_view text_;
};

class TextFeed : public FeedSource {
public:
    explicit TextFeed(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    bool has(std::string_view name) const override { return files_.contains(std::string(name)); }
    std::uint64_t size(std::string_view name) const override {
        const auto it = files_.find(std::string(name));
        return it == files_.end() ? 0 : it->second.size();
    }
    std::unique_ptr<ByteStream> open(std::string_view name) const override {
        const auto it = files_.find(std::string(name));
        if (it == files_.end())
            throw GtfsError("Nel feed manca il file " + std::string(name));
        return std::make_unique<TextStream>(it->second);
    }

private:
    std::map<std::string, std::string> files_;
};

} // namespace

std::unique_ptr<FeedSource> openFeed(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::make_unique<FolderFeed>(path);
    // The stops.txt of a folder stands for the folder, as the file dialog offers it.
    const std::filesystem::path file(path);
    if (file.filename() == "stops.txt" && std::filesystem::is_regular_file(file, ec))
        return std::make_unique<FolderFeed>(file.parent_path().empty() ? std::filesystem::path(".")
                                                                       : file.parent_path());
    if (!std::filesystem::exists(path, ec))
        throw GtfsError(path + ": il file non esiste");
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive)
        throw GtfsError(
            path + ": non è un feed GTFS (né uno zip né una cartella: " + zipErrorText(code) + ")");
    return std::make_unique<ZipFeed>(archive, nullptr);
}

std::unique_ptr<FeedSource> feedFromZipBytes(std::string bytes) {
    auto held = std::make_unique<std::string>(std::move(bytes));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(held->data(), held->size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        const std::string text = zipErrorText(&error);
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        throw GtfsError("Lo zip non si può leggere: " + text);
    }
    zip_error_fini(&error);
    return std::make_unique<ZipFeed>(archive, std::move(held));
}

std::unique_ptr<FeedSource> feedFromTexts(std::map<std::string, std::string> files) {
    return std::make_unique<TextFeed>(std::move(files));
}

} // namespace zeb
