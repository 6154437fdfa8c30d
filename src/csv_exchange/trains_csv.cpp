#include "csv_exchange/trains_csv.h"

#include "model/counted.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "model/train_append.h"
#include "model/value_tables.h"
#include "scenario_file/text_limits.h"
#include "scenario_file/windows1252.h"
#include "text/csv_text.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zeb {

namespace {

enum Column {
    Numero,
    Categoria,
    Provenienza,
    Destinazione,
    Arrivo,
    Partenza,
    Binario,
    Ritardo,
    Fermate,
    Sussidiaria,
    Note,
    ColumnCount
};

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kShownPlaceholder = "--";

// Without blanks, tabs and line breaks around it: a line break at a field's end would become a
// blank that the next export and import would trim.
std::string trimmed(std::string_view text) {
    return std::string(trimmedOf(text, " \t\r\n"));
}

// Each CR, LF or CR LF as one blank, as the scenario file writes them.
std::string blanksForLineBreaks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    }
    return out;
}

std::string stopsCell(const Treno& t) {
    return t.destinazione.empty() ? std::string() : std::string(stopsWithoutFine(t.fermate));
}

} // namespace

std::string trainsCsv(const Scenario& s) {
    std::string out(kBom);
    auto row = [&out](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            out.append(i == 0 ? "" : ";").append(csvField(fields[i], ';'));
        out.append("\r\n");
    };
    row(std::vector<std::string>(std::begin(kCsvColumns), std::end(kCsvColumns)));
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        row({t.numero, t.categoria, t.provenienza, t.destinazione,
             endTimeText(t, TrainEnd::Arrival), endTimeText(t, TrainEnd::Departure),
             isCategoriaSenzaBinario(t.categoria) ? std::string() : t.binario, t.ritardo,
             stopsCell(t), t.sussidiaria, t.note});
    }
    return out;
}

namespace {

// Reads the rows after the header into trains, collecting every error.
class CsvTrains {
public:
    CsvTrains(const Scenario& base, std::vector<std::string>& errors)
        : base_(base), errors_(errors) {}

    // The columns of the header row; false, with errors, when it cannot be used.
    bool readHeader(const std::vector<std::string>& header, int line) {
        for (std::size_t i = 0; i < header.size(); ++i) {
            const std::string name = trimmed(header[i]);
            const auto known =
                std::find_if(std::begin(kCsvColumns), std::end(kCsvColumns),
                             [&](const char* c) { return lowered(c) == lowered(name); });
            if (known == std::end(kCsvColumns)) {
                fail(line, "",
                     "la colonna " + quotedBriefly(name) +
                         " non è tra quelle che l'editor conosce");
                continue;
            }
            const auto column = static_cast<std::size_t>(known - std::begin(kCsvColumns));
            if (columnOf_[column] >= 0)
                fail(line, "", "la colonna " + quotedBriefly(name) + " compare due volte");
            columnOf_[column] = static_cast<int>(i);
        }
        if (columnOf_[Numero] < 0)
            fail(line, "", "manca la colonna «Numero»");
        return errors_.empty();
    }

    // `notUtf8` flags the row's fields that a file with a byte-order mark holds as no UTF-8;
    // they are shown as Windows-1252 reads them.
    std::optional<Treno> readRow(const std::vector<std::string>& row,
                                 const std::vector<bool>& notUtf8, int line) {
        row_ = &row;
        line_ = line;
        const std::size_t before = errors_.size() + static_cast<std::size_t>(hidden_);
        Treno t;

        t.numero = cell(Numero);
        if (t.numero.empty())
            fail(line, kCsvColumns[Numero], "manca il numero del treno");
        const std::string categoria = cell(Categoria);
        // Left empty, the category is the list's first, as in a new train not touched.
        const auto category =
            categoria.empty() ? std::optional<int>(0) : positionIgnoringCase(kCategorie, categoria);
        if (!category)
            bad(Categoria, "non è una delle categorie: " + categoryNames());
        const bool trackless =
            isCategoriaSenzaBinario(kCategorie[static_cast<std::size_t>(category.value_or(0))]);

        t.provenienza = cell(Provenienza);
        t.destinazione = cell(Destinazione);
        readTime(Arrivo, !t.provenienza.empty(), "provenienza", t.ora_arrivo, t.min_arrivo);
        readTime(Partenza, !t.destinazione.empty(), "destinazione", t.ora_partenza, t.min_partenza);

        const std::string binario = cell(Binario);
        // A bus takes no track, whatever the file says; a train may have none yet, as the
        // export writes it.
        if (const auto track = stationTrack(binario); !trackless && track)
            t.binario = *track;
        else if (!trackless && !binario.empty())
            bad(Binario, "non è un binario della stazione");

        t.ritardo = cell(Ritardo).empty() ? "0" : cell(Ritardo);
        if (!positionIn(kRitardi, t.ritardo))
            bad(Ritardo, "deve essere da 0 a 4");

        const std::string fermate = cell(Fermate);
        if (!t.destinazione.empty())
            t.fermate = fermate + std::string(kFineFermate);
        else if (fermate.empty())
            t.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
        else
            bad(Fermate, "ma il treno non ha destinazione");

        storeAsNewTrain(t, category.value_or(0), subsidiaryCode());
        t.note = cell(Note);
        // Stops and notes may go over several lines, which the file keeps as blanks; every
        // other field stays on one line, as the editor's boxes do.
        t.note = blanksForLineBreaks(t.note);
        if (!t.destinazione.empty())
            t.fermate = blanksForLineBreaks(t.fermate);
        checkTexts(notUtf8);
        if (errors_.size() + static_cast<std::size_t>(hidden_) != before)
            return std::nullopt;
        return t;
    }

    int hiddenErrors() const { return hidden_; }

private:
    // Every cell as the file can hold it: UTF-8 where the file says so, within the code page, on
    // one line but for the stops and the notes, within the length of a stored text.
    void checkTexts(const std::vector<bool>& notUtf8) {
        for (int column = 0; column < ColumnCount; ++column) {
            const std::string value = cell(column);
            const int index = columnOf_[static_cast<std::size_t>(column)];
            if (index >= 0 && static_cast<std::size_t>(index) < notUtf8.size() &&
                notUtf8[static_cast<std::size_t>(index)])
                fail(line_, kCsvColumns[column], "testo non UTF-8 " + quotedBriefly(value));
            else if (!utf8ToWindows1252(value))
                bad(column, "contiene caratteri che il file scenario non può contenere");
            if (column != Fermate && column != Note &&
                value.find_first_of("\r\n") != std::string::npos)
                bad(column, "va a capo, ma questo campo sta su una riga sola");
            // The stops gain their final ",." when stored.
            const std::size_t limit = kMaxTextBytes - (column == Fermate ? kFineFermate.size() : 0);
            if (value.size() > limit)
                fail(line_, kCsvColumns[column],
                     quotedBriefly(value) + " è troppo lungo: il file scenario tiene al massimo " +
                         std::to_string(limit) + " byte per campo");
        }
    }

    // The cell as the file can hold it: control characters are blanks, line breaks stay for
    // the checks of the fields that take them.
    std::string cell(int column) const {
        const int index = columnOf_[static_cast<std::size_t>(column)];
        if (index < 0 || static_cast<std::size_t>(index) >= row_->size())
            return {};
        return trimmed(blanksForControls((*row_)[static_cast<std::size_t>(index)], true));
    }

    void fail(int line, std::string_view column, const std::string& what) {
        addCsvError(errors_, hidden_, line, column, what);
    }

    void bad(int column, const std::string& what) {
        fail(line_, kCsvColumns[column], quotedBriefly(cell(column)) + " " + what);
    }

    // "H:M" or "H.M", hour 0-23 and minute 0-59 of one or two digits, stored as written; an end
    // the train lacks keeps the placeholder the editor's boxes show.
    void readTime(int column, bool applies, const char* end, std::string& ora,
                  std::string& minuti) {
        const std::string text = cell(column);
        if (!applies) {
            ora = minuti = std::string(kShownPlaceholder);
            if (!text.empty())
                bad(column, std::string("ma il treno non ha ") + end);
            return;
        }
        const auto separator = text.find_first_of(":.");
        const std::string hour = text.substr(0, separator);
        std::string minute =
            separator == std::string::npos ? std::string() : text.substr(separator + 1);
        // "H:M:S", as spreadsheets write times, loses its seconds.
        if (const auto seconds = minute.find(':'); seconds != std::string::npos) {
            const std::string s = minute.substr(seconds + 1);
            const bool validSeconds =
                !s.empty() && s.size() <= 2 && isDecimalDigits(s) && std::stoi(s) < 60;
            minute = validSeconds ? minute.substr(0, seconds) : std::string("x");
        }
        if (text.empty()) {
            fail(line_, kCsvColumns[column], "manca l'orario");
        } else if (hour.size() > 2 || minute.size() > 2 || !minuteOfDay(hour, minute)) {
            bad(column, "non è un orario valido");
        } else {
            ora = hour;
            minuti = minute;
        }
    }

    std::optional<std::string> stationTrack(const std::string& text) const {
        std::string wanted;
        for (char c : lowered(text)) {
            if (c != ' ')
                wanted += c;
        }
        if (wanted.empty() || !hasStationTrack(base_, wanted))
            return std::nullopt;
        return wanted;
    }

    // The indication's position: the description, ignoring case, or the code; empty is
    // "Nessuna".
    int subsidiaryCode() {
        const std::string text = cell(Sussidiaria);
        std::optional<int> code =
            text.empty() ? std::optional<int>(0) : positionIgnoringCase(kSussidiarie, text);
        if (!code)
            code = listPosition(text, static_cast<int>(kSussidiarie.size()));
        if (!code)
            bad(Sussidiaria, "non è un'indicazione sussidiaria");
        return code.value_or(0);
    }

    const Scenario& base_;
    std::vector<std::string>& errors_;
    std::array<int, ColumnCount> columnOf_{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    const std::vector<std::string>* row_ = nullptr;
    int line_ = 0;
    int hidden_ = 0;
};

// The header row's delimiter: the one of ";", "," and tab it holds most, ";" when none.
char delimiterOf(std::string_view text) {
    const std::string_view header = text.substr(0, text.find_first_of("\r\n"));
    char best = ';';
    long most = 0;
    for (char candidate : {';', ',', '\t'}) {
        const long count = std::count(header.begin(), header.end(), candidate);
        if (count > most) {
            most = count;
            best = candidate;
        }
    }
    return best;
}

// The rows of a file in UTF-8, whatever its code: a byte-order mark means UTF-8, and a field
// that is not is marked as such; a file that is not UTF-8 throughout is Windows-1252.
class DecodedRows {
public:
    explicit DecodedRows(std::string_view bytes)
        : marked_(bytes.starts_with(kBom)), bytes_(marked_ ? bytes.substr(kBom.size()) : bytes),
          windows1252_(!marked_ && !isValidUtf8(bytes_)), rows_(bytes_, delimiterOf(bytes_)) {}

    // The next row into `row`, with `notUtf8` telling which fields a marked file had wrong.
    bool next() {
        if (!rows_.next(row))
            return false;
        notUtf8.assign(row.size(), false);
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (windows1252_ || (marked_ && !isValidUtf8(row[i]))) {
                notUtf8[i] = marked_;
                row[i] = windows1252ToUtf8(row[i]);
            }
        }
        return true;
    }
    std::size_t position() const { return rows_.position(); }
    std::size_t size() const { return bytes_.size(); }
    int line() const { return rows_.line(); }

    std::vector<std::string> row;
    std::vector<bool> notUtf8;

private:
    bool marked_;
    std::string_view bytes_;
    bool windows1252_;
    CsvRows rows_;
};

} // namespace

CsvImport importTrainsCsv(const Scenario& base, std::string_view bytes,
                          const CsvProgress& progress) {
    constexpr std::size_t kProgressEveryBytes = 1 << 20;
    CsvImport result;
    DecodedRows rows(bytes);
    const std::vector<std::string>& row = rows.row;
    CsvTrains reader(base, result.errors);
    auto endWithHidden = [&] { endCsvErrors(result.errors, reader.hiddenErrors()); };
    if (!rows.next()) {
        result.errors.push_back("Il file è vuoto: manca anche la riga delle intestazioni");
        return result;
    }
    if (!reader.readHeader(row, rows.line())) {
        endWithHidden();
        return result;
    }
    // Trains past the room left are counted, not kept.
    const int room = kMaxTrains - base.totale_treni;
    int trainRows = 0;
    std::size_t reported = 0;
    while (rows.next()) {
        if (progress && rows.position() - reported >= kProgressEveryBytes) {
            reported = rows.position();
            if (!progress(reported, rows.size())) {
                result.trains.clear();
                result.errors.clear();
                result.cancelled = true;
                return result;
            }
        }
        const bool blank = row.size() == 1 && trimmed(row[0]).empty();
        if (blank)
            continue;
        if (auto train = reader.readRow(row, rows.notUtf8, rows.line())) {
            ++trainRows;
            if (trainRows <= room)
                result.trains.push_back(std::move(*train));
        }
    }
    endWithHidden();
    if (result.errors.empty()) {
        if (auto refusal = appendRefusal(base, result.trains, trainRows, "Il file contiene"))
            result.errors.push_back(std::move(*refusal));
    }
    if (!result.errors.empty())
        result.trains.clear();
    return result;
}

int appendImportedTrains(Scenario& base, CsvImport& result) {
    return appendTrains(base, result.trains);
}

} // namespace zeb
