#include "gtfs/gtfs_table.h"

#include "gtfs/feed.h"

#include "gtfs/gtfs_error.h"
#include "model/value_tables.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace zeb {

namespace {

// Small files are read with a small buffer, which grows where a file's rows are long.
constexpr std::size_t kChunkBytes = 1 << 16;
constexpr std::size_t kMaxRowBytes = 4 << 20;

} // namespace

std::string_view blanksTrimmed(std::string_view text) {
    return trimmedOf(text, " \t");
}

GtfsTable::GtfsTable(const FeedSource& feed, std::string name)
    : stream_(feed.open(name)), name_(std::move(name)) {
    buffer_.resize(kChunkBytes);
    if (!next())
        throw GtfsError(name_ + ": il file è vuoto, manca la riga delle intestazioni");
    if (plain_)
        splitUpTo(std::numeric_limits<std::size_t>::max());
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        std::string_view title = field(static_cast<int>(i));
        if (i == 0 && title.starts_with("\xEF\xBB\xBF"))
            title = trimmedValue(title.substr(3));
        header_.emplace_back(title);
    }
}

int GtfsTable::column(std::string_view name) const {
    const auto it = std::find(header_.begin(), header_.end(), name);
    return it == header_.end() ? -1 : static_cast<int>(it - header_.begin());
}

int GtfsTable::requiredColumn(std::string_view name) const {
    const int index = column(name);
    if (index < 0)
        throw GtfsError(name_ + ": manca la colonna " + std::string(name));
    return index;
}

std::string_view GtfsTable::unsplitField(int column) const {
    if (column < 0 || !plain_)
        return {};
    splitUpTo(static_cast<std::size_t>(column));
    if (static_cast<std::size_t>(column) >= spans_.size())
        return {};
    return valueOf(spans_[static_cast<std::size_t>(column)]);
}

void GtfsTable::fail(int column, const std::string& what) const {
    std::string where = name_ + ", riga " + std::to_string(line_);
    if (column >= 0 && static_cast<std::size_t>(column) < header_.size())
        where += ", colonna " + header_[static_cast<std::size_t>(column)];
    throw GtfsError(where + ": " + what);
}

bool GtfsTable::next() {
    for (;;) {
        try {
            while (!parseRow()) {
                if (!refill())
                    break;
            }
        } catch (const GtfsError& error) {
            if (!skipBadRows_)
                throw;
            if (skipped_.size() < kMostSkippedRows)
                skipped_.emplace_back(line_, error.message());
            skipLine();
            continue;
        }
        if (!read_)
            return false;
        line_ = nextLine_;
        nextLine_ = line_ + lineBreaks_;
        const bool blank =
            plain_ ? trimmedValue(plainRow()).empty() : spans_.size() == 1 && field(0).empty();
        if (!blank)
            return true;
    }
}

void GtfsTable::skipLine() {
    for (;;) {
        const auto* newline =
            static_cast<const char*>(std::memchr(buffer_.data() + pos_, '\n', end_ - pos_));
        if (newline) {
            pos_ = static_cast<std::size_t>(newline - buffer_.data()) + 1;
            break;
        }
        if (!refill()) {
            pos_ = end_;
            break;
        }
    }
    nextLine_ += 1;
}

bool GtfsTable::refill() {
    if (eof_)
        return false;
    quoteAt_ = returnAt_ = kUnknown; // the bytes move, and more come
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        consumed_ += pos_;
        pos_ = 0;
    }
    if (end_ == buffer_.size()) {
        if (buffer_.size() >= kMaxRowBytes) {
            line_ = nextLine_;
            fail(-1,
                 "la riga è troppo lunga (più di " + std::to_string(kMaxRowBytes >> 20) + " MB)");
        }
        buffer_.resize(buffer_.size() * 2);
    }
    const std::size_t got = stream_->read(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0)
        eof_ = true;
    end_ += got;
    return true;
}

bool GtfsTable::parseRow() {
    spans_.clear();
    scratch_.clear();
    lineBreaks_ = 1;
    plain_ = false;
    read_ = false;
    if (pos_ == end_)
        return eof_; // at the end of the file, no row; before it, more to read
    switch (parsePlainRow()) {
    case Parse::Done:
        read_ = true;
        return true;
    case Parse::NeedMore:
        return false;
    case Parse::NotPlain:
        break;
    }
    read_ = parseQuotedRow();
    return read_;
}

// Most rows have no quotes and end in LF or CR LF: such a row is found with a look for its end
// and for quotes, and split only as far as its values are asked for.
GtfsTable::Parse GtfsTable::parsePlainRow() {
    const char* data = buffer_.data();
    const std::size_t i = pos_;
    const auto* newline = static_cast<const char*>(std::memchr(data + i, '\n', end_ - i));
    if (!newline && !eof_)
        return Parse::NeedMore;
    const std::size_t lineEnd = newline ? static_cast<std::size_t>(newline - data) : end_;
    const std::size_t rowEnd = lineEnd > i && data[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
    if (nextOf('"', quoteAt_, i) < rowEnd || nextOf('\r', returnAt_, i) < rowEnd)
        return Parse::NotPlain;
    rowStart_ = splitAt_ = i;
    rowEnd_ = rowEnd;
    pos_ = newline ? lineEnd + 1 : end_;
    plain_ = true;
    return Parse::Done;
}

std::size_t GtfsTable::nextOf(char c, std::size_t& found, std::size_t from) {
    if (found == kUnknown || found < from) {
        const auto* at =
            static_cast<const char*>(std::memchr(buffer_.data() + from, c, end_ - from));
        found = at ? static_cast<std::size_t>(at - buffer_.data()) : end_;
    }
    return found;
}

void GtfsTable::splitUpTo(std::size_t column) const {
    const char* data = buffer_.data();
    while (spans_.size() <= column && splitAt_ <= rowEnd_) {
        std::size_t valueEnd = splitAt_;
        while (valueEnd < rowEnd_ && data[valueEnd] != ',')
            ++valueEnd;
        spans_.push_back({splitAt_, valueEnd - splitAt_, false});
        splitAt_ = valueEnd + 1;
    }
}

bool GtfsTable::splitAtOnce(const int* columns, std::string_view* found, std::size_t count) const {
    const int last = *std::max_element(columns, columns + count);
    if (last >= kAtOnce)
        return false;
    // Where each value up to `last` starts, from the row's start, and where the next would: one
    // past the comma that ends it, or as if a comma stood at the row's end.
    std::array<std::size_t, kAtOnce + 2> starts;
    const char* const row = buffer_.data() + rowStart_;
    const std::size_t length = rowEnd_ - rowStart_;
    const auto wanted = static_cast<std::size_t>(last + 1);
    starts[0] = 0;
    std::size_t started = 1;
    std::size_t i = 0;
    // Eight bytes at a time, each comma found exactly (no borrow crosses bytes), then the rest.
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    constexpr std::uint64_t kCommas = 0x2C2C2C2C2C2C2C2CULL;
    for (; i + 8 <= length && started <= wanted; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, row + i, 8);
        const std::uint64_t x = word ^ kCommas; // a comma's byte is zero here
        std::uint64_t commas = ~(((x & kLow7) + kLow7) | x | kLow7);
        for (; commas != 0 && started <= wanted; commas &= commas - 1)
            starts[started++] = i + static_cast<std::size_t>(std::countr_zero(commas) / 8) + 1;
    }
    for (; i < length && started <= wanted; ++i) {
        if (row[i] == ',')
            starts[started++] = i + 1;
    }
    if (started <= wanted)
        starts[started] = length + 1;
    for (std::size_t k = 0; k < count; ++k) {
        const auto c = static_cast<std::size_t>(columns[k]);
        found[k] =
            columns[k] < 0 || c >= started
                ? std::string_view()
                : trimmedValue(std::string_view(row + starts[c], starts[c + 1] - starts[c] - 1));
    }
    return true;
}

// A row with quotes or lone CRs, value by value.
bool GtfsTable::parseQuotedRow() {
    const char* data = buffer_.data();
    std::size_t i = pos_;
    for (;;) {
        const auto next = i < end_ && data[i] == '"' ? quotedValue(i) : bareValue(i);
        if (!next)
            return false;
        i = *next;
        if (i < end_ && data[i] == ',') {
            ++i;
            continue;
        }
        // The row's end: CR LF, LF, a lone CR, or the end of the file.
        if (i < end_ && data[i] == '\r') {
            if (i + 1 >= end_ && !eof_)
                return false;
            ++i;
            if (i < end_ && data[i] == '\n')
                ++i;
        } else if (i < end_) {
            ++i;
        }
        pos_ = i;
        return true;
    }
}

// A quoted value from `i`: up to the lone closing quote, "" standing for one quote. Returns where
// it ends, or nullopt when the buffer does not hold all of it yet.
std::optional<std::size_t> GtfsTable::quotedValue(std::size_t i) {
    const char* data = buffer_.data();
    std::size_t j = i + 1;
    bool escaped = false;
    for (;;) {
        const char* quote = static_cast<const char*>(std::memchr(data + j, '"', end_ - j));
        if (!quote) {
            if (!eof_)
                return std::nullopt;
            line_ = nextLine_;
            fail(static_cast<int>(spans_.size()), "le virgolette aperte non si chiudono");
        }
        const std::size_t q = static_cast<std::size_t>(quote - data);
        if (q + 1 >= end_ && !eof_)
            return std::nullopt;
        if (q + 1 < end_ && data[q + 1] == '"') {
            escaped = true;
            j = q + 2;
            continue;
        }
        lineBreaks_ += std::count(data + i + 1, data + q, '\n');
        if (escaped) {
            const std::size_t at = scratch_.size();
            for (std::size_t k = i + 1; k < q; ++k) {
                scratch_ += data[k];
                if (data[k] == '"')
                    ++k;
            }
            spans_.push_back({at, scratch_.size() - at, true});
        } else {
            spans_.push_back({i + 1, q - i - 1, false});
        }
        if (q + 1 < end_ && data[q + 1] != ',' && data[q + 1] != '\r' && data[q + 1] != '\n') {
            line_ = nextLine_;
            fail(static_cast<int>(spans_.size()) - 1,
                 "dopo le virgolette di chiusura manca la virgola");
        }
        return q + 1;
    }
}

// A value without quotes from `i`, up to a comma or the line's end; nullopt when the buffer does
// not hold all of it yet.
std::optional<std::size_t> GtfsTable::bareValue(std::size_t i) {
    const char* data = buffer_.data();
    std::size_t j = i;
    while (j < end_ && data[j] != ',' && data[j] != '\r' && data[j] != '\n')
        ++j;
    if (j == end_ && !eof_)
        return std::nullopt;
    spans_.push_back({i, j - i, false});
    return j;
}

std::optional<date::sys_days> gtfsDate(std::string_view text) {
    if (text.size() != 8)
        return std::nullopt;
    const auto y = wholeNumber(text.substr(0, 4));
    const auto m = wholeNumber(text.substr(4, 2));
    const auto d = wholeNumber(text.substr(6, 2));
    if (!y || !m || !d || *y < 1900 || *m < 1)
        return std::nullopt;
    const date::year_month_day ymd{date::year{*y}, date::month{static_cast<unsigned>(*m)},
                                   date::day{static_cast<unsigned>(*d)}};
    if (!ymd.ok())
        return std::nullopt;
    return date::sys_days(ymd);
}

} // namespace zeb
