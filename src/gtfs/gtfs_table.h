#pragma once

#include "gtfs/feed.h"
#include "gtfs/feed_source.h"
#include "model/quoted_text.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeb {

// A feed's value without the blanks and tabs around it, as every field is read.
std::string_view blanksTrimmed(std::string_view text);
inline std::string_view trimmedValue(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!text.empty() && !blank(text.front()) && !blank(text.back()))
        return text; // most values: nothing to look for
    return blanksTrimmed(text);
}

// The rows skipped for faults that a file keeps to tell: the first ones tell enough.
inline constexpr std::size_t kMostSkippedRows = 100;

// One file of a feed read row by row as a stream (RFC 4180: quoted fields, "" inside quotes,
// CR LF or LF), with its columns found by the header's names in any order. Unknown columns are
// ignored; a column the file lacks reads as empty. Memory stays within one buffer of rows.
class GtfsTable {
public:
    // Opens `name` and reads its header; throws GtfsError when it cannot.
    GtfsTable(const FeedSource& feed, std::string name);

    // The position of a column, or -1 when the file lacks it.
    int column(std::string_view name) const;
    // The same for a column the feed must have; throws GtfsError naming the file and column.
    int requiredColumn(std::string_view name) const;
    // How many columns the header names.
    int columns() const { return static_cast<int>(header_.size()); }

    // Moves to the next row, skipping blank lines; false at the end of the file.
    bool next();

    // From now on a row that cannot be split into values (a stray quote) is skipped to the end of
    // its line, and kept in skipped() with its line and "file, riga N: why", in place of stopping
    // the reading.
    void skipBadRows() { skipBadRows_ = true; }
    const std::vector<std::pair<long, std::string>>& skipped() const { return skipped_; }
    // The row's value in `column` without surrounding blanks; "" for -1 or a short row. Valid
    // until the next call of next().
    std::string_view field(int column) const {
        if (column >= 0 && static_cast<std::size_t>(column) < spans_.size())
            return valueOf(spans_[static_cast<std::size_t>(column)]);
        return unsplitField(column);
    }

    // The row's values in `columns` at once, as field() gives each: a row without quotes is split
    // in one pass, for a reading that needs most values of many short rows.
    template <std::size_t N>
    std::array<std::string_view, N> values(const std::array<int, N>& columns) const {
        static_assert(N > 0);
        std::array<std::string_view, N> found;
        if (!plain_ || !splitAtOnce(columns.data(), found.data(), N)) {
            for (std::size_t k = 0; k < N; ++k)
                found[k] = field(columns[k]);
        }
        return found;
    }

    // The row's text as the file has it, when it holds no quotes (most rows); "" otherwise.
    std::string_view plainRow() const {
        return plain_ ? std::string_view(buffer_.data() + rowStart_, rowEnd_ - rowStart_)
                      : std::string_view();
    }

    // Throws GtfsError naming the file, the row's line and the column.
    [[noreturn]] void fail(int column, const std::string& what) const;

    long line() const { return line_; }
    std::uint64_t bytesRead() const { return consumed_ + pos_; }
    const std::string& name() const { return name_; }

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
        bool inScratch;
    };
    std::string_view valueOf(const Span& s) const {
        return trimmedValue(std::string_view(
            (s.inScratch ? scratch_.data() : buffer_.data()) + s.offset, s.length));
    }
    std::string_view unsplitField(int column) const;
    // Parses the row at pos_; false when the buffer ends inside it and more can be read.
    bool parseRow();
    // The values in `columns` of a row without quotes, in one pass; false for a column past the
    // first kAtOnce, which field() then reads.
    static constexpr int kAtOnce = 32;
    bool splitAtOnce(const int* columns, std::string_view* found, std::size_t count) const;
    // Splits a row without quotes up to `column`: most readings need a few of its values.
    void splitUpTo(std::size_t column) const;
    // The position of the first `c` from `from` on (end_ for none), kept in `found` for the rows
    // before it: a file mostly has no quotes, or none but at the ends of its lines.
    std::size_t nextOf(char c, std::size_t& found, std::size_t from);
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    enum class Parse { Done, NeedMore, NotPlain };
    Parse parsePlainRow();
    bool parseQuotedRow();
    std::optional<std::size_t> quotedValue(std::size_t i);
    std::optional<std::size_t> bareValue(std::size_t i);
    // Keeps the unparsed tail, reads more after it; false at the end of the file.
    bool refill();
    // Moves past the line the row at pos_ starts on.
    void skipLine();

    std::unique_ptr<ByteStream> stream_;
    std::string name_;
    std::vector<std::string> header_;
    std::string buffer_;
    std::size_t pos_ = 0;        // start of the next row in buffer_
    std::size_t end_ = 0;        // bytes held in buffer_
    std::uint64_t consumed_ = 0; // bytes dropped from buffer_'s front so far
    bool eof_ = false;
    long line_ = 0;                   // line of the current row
    long nextLine_ = 1;               // line of the next row
    long lineBreaks_ = 1;             // lines the parsed row spans
    mutable std::vector<Span> spans_; // of the row's values split so far
    std::string scratch_;             // quoted values with "" inside, unescaped
    bool read_ = false;               // a row was parsed
    bool plain_ = false; // the row parsed was read without quotes, and is split as asked
    std::size_t rowStart_ = 0, rowEnd_ = 0; // of a row without quotes, its line end left out
    mutable std::size_t splitAt_ = 0;       // where its next value starts; past rowEnd_ once split
    std::size_t quoteAt_ = kUnknown, returnAt_ = kUnknown; // see nextOf
    bool skipBadRows_ = false;
    std::vector<std::pair<long, std::string>> skipped_;
};

// `text`, the row's value in `column`, as a whole number; `fallback` when it is empty.
inline int numberIn(const GtfsTable& table, int column, std::string_view text, int fallback) {
    if (text.empty())
        return fallback;
    const auto value = wholeNumber(text);
    if (!value)
        table.fail(column, quotedBriefly(text) + " non è un numero intero");
    return *value;
}

inline int numberIn(const GtfsTable& table, int column, int fallback) {
    return numberIn(table, column, table.field(column), fallback);
}

} // namespace zeb
