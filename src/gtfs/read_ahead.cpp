#include "gtfs/read_ahead.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace zeb {

namespace {

// The first piece is small, so that the reading starts soon; each after it twice the one before,
// up to the largest.
constexpr std::size_t kFirstPieceBytes = 64 << 10;
constexpr std::size_t kPieceBytes = 256 << 10;
constexpr std::size_t kPieces = 4; // at most this many read and not yet taken

class ReadAheadStream : public ByteStream {
public:
    explicit ReadAheadStream(std::unique_ptr<ByteStream> stream) : stream_(std::move(stream)) {}

    // False when no thread can be started.
    bool start() {
        try {
            worker_ = std::thread([this] { readAhead(); });
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }
    std::unique_ptr<ByteStream> takeBack() { return std::move(stream_); }

    ~ReadAheadStream() override {
        if (!worker_.joinable())
            return;
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }

    std::size_t read(char* buffer, std::size_t size) override {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !ready_.empty() || ended_; });
        if (ready_.empty()) {
            if (error_)
                std::rethrow_exception(std::exchange(error_, nullptr));
            return 0;
        }
        Piece& piece = ready_.front();
        const std::size_t n = std::min(size, piece.bytes.size() - piece.taken);
        std::memcpy(buffer, piece.bytes.data() + piece.taken, n);
        piece.taken += n;
        if (piece.taken == piece.bytes.size()) {
            spare_ = std::move(piece.bytes);
            ready_.pop_front();
            lock.unlock();
            changed_.notify_all();
        }
        return n;
    }

private:
    struct Piece {
        std::vector<char> bytes;
        std::size_t taken = 0;
    };

    void readAhead() {
        std::size_t pieceBytes = kFirstPieceBytes;
        for (;;) {
            std::vector<char> bytes;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || ready_.size() < kPieces; });
                if (stopped_)
                    return;
                bytes = std::move(spare_);
            }
            std::exception_ptr error;
            std::size_t got = 0;
            try {
                bytes.resize(pieceBytes);
                pieceBytes = std::min(2 * pieceBytes, kPieceBytes);
                got = fill(bytes, error);
            } catch (...) {
                error = std::current_exception(); // the memory for a piece
            }
            bytes.resize(got);
            const bool last = error || got == 0;
            {
                const std::lock_guard lock(mutex_);
                if (got > 0)
                    ready_.push_back({std::move(bytes), 0});
                ended_ = last;
                error_ = error;
            }
            changed_.notify_all();
            if (last)
                return;
        }
    }

    // Fills `bytes` as far as the file goes, or up to an error, kept in `error`; the bytes read.
    std::size_t fill(std::vector<char>& bytes, std::exception_ptr& error) {
        std::size_t got = 0;
        try {
            while (got < bytes.size()) {
                const std::size_t n = stream_->read(bytes.data() + got, bytes.size() - got);
                if (n == 0)
                    break;
                got += n;
            }
        } catch (...) {
            error = std::current_exception();
        }
        return got;
    }

    std::unique_ptr<ByteStream> stream_; // used by the worker alone
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> ready_;
    std::vector<char> spare_; // a piece's bytes taken, for the next
    bool ended_ = false;      // the worker read to the end, or stopped at error_
    bool stopped_ = false;    // the reader is gone
    std::exception_ptr error_;
    std::thread worker_; // last: started once the rest is there
};

} // namespace

std::unique_ptr<ByteStream> readingAhead(std::unique_ptr<ByteStream> stream, std::uint64_t bytes) {
    if (bytes < kReadAheadBytes)
        return stream; // a thread is not worth it
    auto ahead = std::make_unique<ReadAheadStream>(std::move(stream));
    if (!ahead->start())
        return ahead->takeBack(); // no thread to be had: read as it comes
    return ahead;
}

} // namespace zeb
