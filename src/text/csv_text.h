#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// Comma-separated text as RFC 4180 has it, with a delimiter of one's choice.

// `field` as it stands in a row: in quotes, its quotes doubled, where it holds the delimiter,
// a quote or a line break.
std::string csvField(std::string_view field, char delimiter);

// "Riga 3, Arrivo: …" added to `errors` while they are fewer than 20, the others counted in
// `hidden`, so that a file of faults every row is said briefly.
void addCsvError(std::vector<std::string>& errors, int& hidden, int line, std::string_view column,
                 const std::string& what);
// After the errors said: "… e un altro errore", "… e altri 7 errori" where some were not.
void endCsvErrors(std::vector<std::string>& errors, int hidden);

// The rows of `text` one at a time, each a list of fields with their quotes undone; a quoted
// field may hold the delimiter and line breaks. Rows end in CR LF, LF or CR. Only the row read
// is held, so a file of any size is read in the memory of its longest row.
class CsvRows {
public:
    CsvRows(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

    // The next row into `row` (a blank row is one empty field); false at the end.
    bool next(std::vector<std::string>& row);
    // The 1-based line the row read last starts on.
    int line() const { return line_; }
    // How far the reading has come, in bytes.
    std::size_t position() const { return pos_; }

private:
    std::string_view text_;
    char delimiter_;
    std::size_t pos_ = 0;
    int line_ = 0;
    int nextLine_ = 1;
};

} // namespace zeb
