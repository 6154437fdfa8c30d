#pragma once

#include "model/scenario.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// The stored trains as a spreadsheet opens them: UTF-8 with a byte-order mark, ";" between
// fields, CR LF after every row, a header row, then one row per train in table order. Times as
// stored ("7:5"), empty for an end the train lacks; no track for the categories without one;
// the stops without the final ",.", empty for a train that ends here.
std::string trainsCsv(const Scenario& s);

// The trains of a CSV file, read to be appended to `base`, all or nothing: either `trains`, each
// as INSERISCI TRENO would store it from the same field values, or the `errors` (at most 20
// described, each with its row, column and value, then a line saying how many more). Rows are
// read one at a time and only the trains that fit are kept, so memory follows the trains, not
// the file. The texts keep to the limits of the scenario file, so that what is imported saves.
// `progress` is told how many bytes have been read now and then; when it answers false the
// import stops and is `cancelled`.
struct CsvImport {
    std::vector<Treno> trains;
    std::vector<std::string> errors;
    bool cancelled = false;

    bool ok() const { return errors.empty() && !cancelled; }
};
using CsvProgress = std::function<bool(std::size_t done, std::size_t total)>;
CsvImport importTrainsCsv(const Scenario& base, std::string_view bytes,
                          const CsvProgress& progress = {});

// Moves the trains of a successful import into `base`, after its stored trains (the import has
// checked that they fit); returns the position of the first.
int appendImportedTrains(Scenario& base, CsvImport& result);

// The header row's columns, in order.
inline constexpr const char* kCsvColumns[] = {
    "Numero",   "Categoria", "Provenienza", "Destinazione", "Arrivo",
    "Partenza", "Binario",   "Ritardo",     "Fermate",      "Indicazione sussidiaria",
    "Note"};

} // namespace zeb
