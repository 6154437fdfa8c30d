#include "scenario_file/scenario_reader.h"

#include "model/conversions.h"
#include "model/track_slots.h"
#include "model/train_ends.h"
#include "model/value_tables.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/text_limits.h"
#include "scenario_file/windows1252.h"

#include <algorithm>

namespace zeb {

namespace {

constexpr std::string_view kSeparatore = "Prossimo treno:";

class Reader {
public:
    Reader(Scenario& s, std::string_view bytes) : s_(s), lines_(bytes) {}

    void run() {
        s_.totale_treni = 0;
        s_.treno_attuale = 0;
        bool headerRead = false;
        while (!lines_.atEnd()) {
            if (!headerRead) {
                readHeader();
                headerRead = true;
            } else {
                readRecord();
            }
        }
    }

private:
    // The text after the first "= " of the line just read, undecoded.
    std::string_view valueOf(std::string_view line, std::string_view expected) {
        const auto equals = line.find("= ");
        if (equals == std::string_view::npos)
            throw ScenarioFileError(FormatError::MissingValue,
                                    lines_.where() + "manca \"= \" prima del valore (atteso: " +
                                        std::string(expected) + ")");
        return line.substr(equals + 2);
    }

    // The value of the next line that begins with `letter`; other lines are passed over.
    std::string_view headerValue(char letter, std::string_view expected) {
        while (true) {
            const std::string_view line = lines_.next(expected);
            if (!line.empty() && line[0] == letter)
                return valueOf(line, expected);
        }
    }

    // The value of the next line that is not a "#" comment.
    std::string_view nextValue(std::string_view expected) {
        std::string_view line = lines_.next(expected);
        while (!line.empty() && line[0] == '#')
            line = lines_.next(expected);
        return valueOf(line, expected);
    }

    void nextValueInto(std::string& field, std::string_view expected) {
        assignWindows1252AsUtf8(field, nextValue(expected));
    }

    // Hour and minute of "H.M" (further pieces ignored). A lone "-" is the writer's mark of a
    // time that does not apply and reads as an empty time.
    void timeInto(std::string_view value, std::string& ora, std::string& minuti,
                  std::string_view expected) {
        if (value == "-") {
            ora.clear();
            minuti.clear();
            return;
        }
        const auto dot = value.find('.');
        if (dot == std::string_view::npos)
            throw ScenarioFileError(
                FormatError::InvalidTime,
                lines_.where() + "l'orario " + quotedValue(windows1252ToUtf8(value)) +
                    " non contiene \".\" (atteso: " + std::string(expected) + ")");
        const std::string_view rest = value.substr(dot + 1);
        assignWindows1252AsUtf8(ora, value.substr(0, dot));
        assignWindows1252AsUtf8(minuti, rest.substr(0, rest.find('.')));
    }

    int trackCount(std::string_view value) {
        const int count =
            value.size() <= 5 && isDecimalDigits(value) ? std::stoi(std::string(value)) : -1;
        if (count < 0 || count > 32767)
            throw ScenarioFileError(FormatError::InvalidTrackCount,
                                    lines_.where() + "il numero dei binari " +
                                        quotedValue(windows1252ToUtf8(value)) + " non è un numero");
        return count;
    }

    void readHeader() {
        assignWindows1252AsUtf8(s_.nome_stazione, headerValue('S', "la riga \"Stazione di = \""));
        timeInto(headerValue('O', "la riga \"Ora inizio simulazione = \""), s_.ora_inizio,
                 s_.min_inizio, "l'ora di inizio simulazione");
        const int count = trackCount(headerValue('N', "la riga \"Numero binari stazione = \""));
        const int names = readTrackNames(headerValue('N', "la riga \"Numeri binari stazione = \""));
        // Only names that the line really holds are valid entries of the table.
        s_.numero_binari = std::min(count, names);
        Controlla_Binari_2(s_);
        const TextMeasure measure = measureStationTexts(s_);
        if (measure.oversizedField)
            throw tooLong(*measure.oversizedField);
        textBytes_ = measure.bytes;
    }

    // Fills the track table from "1,2,1tronco,." and returns the number of names.
    int readTrackNames(std::string_view value) {
        int names = 0;
        std::size_t start = 0;
        while (true) {
            const auto comma = value.find(',', start);
            const std::string_view piece = value.substr(start, comma - start);
            if (piece == ".")
                return names;
            if (comma == std::string_view::npos)
                throw ScenarioFileError(FormatError::TracksWithoutEnd,
                                        lines_.where() +
                                            "l'elenco dei binari non termina con \".\"");
            if (names == kTrackSlots)
                throw ScenarioFileError(FormatError::TooManyTracks,
                                        lines_.where() + "l'elenco nomina più di " +
                                            std::to_string(kTrackSlots) + " binari");
            VoceBinario& entry = s_.tabella_binari[names];
            assignWindows1252AsUtf8(entry.nome, piece);
            entry.posizione = std::to_string(names);
            ++names;
            start = comma + 1;
        }
    }

    void checkInList(bool inList, const std::string& what, const std::string& value) {
        if (!inList)
            throw ScenarioFileError(FormatError::ValueNotInList,
                                    lines_.where() + what + " " + quotedValue(value) +
                                        " non è tra i valori dell'elenco");
    }

    ScenarioFileError tooLong(std::string_view field) {
        return ScenarioFileError(FormatError::LineTooLong,
                                 lines_.where() + "il campo \"" + std::string(field) +
                                     "\" è più lungo di " + std::to_string(kMaxTextBytes) +
                                     " byte");
    }

    void readRecord() {
        if (lines_.next("un treno") != kSeparatore)
            return; // blank lines, comments and anything else between records
        if (s_.totale_treni >= kMaxTrains)
            throw ScenarioFileError(FormatError::TooManyTrains,
                                    lines_.where() + "il file contiene più di " +
                                        std::to_string(kMaxTrains) + " treni");
        Treno& t = s_.treni[s_.totale_treni];
        nextValueInto(t.tipologia, "la tipologia del treno");
        nextValueInto(t.numero, "il numero del treno");
        nextValueInto(t.destinazione, "la destinazione");
        nextValueInto(t.provenienza, "la provenienza");
        nextValueInto(t.categoria, "la categoria");
        checkInList(positionIn(kCategorie, t.categoria).has_value(), "la categoria", t.categoria);
        s_.treno_in_uso = s_.totale_treni;
        Categoria_Combo(s_);

        readTimes(t);

        nextValueInto(t.binario, "il binario");
        nextValueInto(t.ritardo, "l'indice di ritardo");
        checkInList(positionIn(kRitardi, t.ritardo).has_value(), "l'indice di ritardo", t.ritardo);
        nextValueInto(t.fermate, "le fermate successive");
        nextValueInto(t.codice_sussidiaria, "l'indicazione sussidiaria");
        checkInList(
            listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size())).has_value(),
            "l'indicazione sussidiaria", t.codice_sussidiaria);
        s_.treno_in_uso = s_.totale_treni;
        Combo_Sussi(s_);
        nextValueInto(t.note, "le note al treno");

        if (t.tipologia == "0") {
            t.provenienza.clear();
            t.ora_arrivo.clear();
            t.min_arrivo.clear();
        } else if (t.tipologia == "1") {
            t.destinazione.clear();
            t.ora_partenza.clear();
            t.min_partenza.clear();
        }
        checkTextLimits(t);
        ++s_.totale_treni;
    }

    // The arrival and the departure, each on its line.
    void readTimes(Treno& t) {
        // The line of a time the type code says is absent is passed over unread.
        // The writer writes a "-" time exactly when that end's place is empty, so a "-" place
        // beside a "-" time is the same mark, also for a train with neither end (type "0").
        struct Side {
            TrainEnd end;
            std::string_view types; // the type codes that have this end's time
            const char* time;
            const char* line;
            std::string& place;
        };
        const Side sides[] = {
            {TrainEnd::Arrival, "12", "l'orario di arrivo", "la riga dell'arrivo", t.provenienza},
            {TrainEnd::Departure, "20", "l'orario di partenza", "la riga della partenza",
             t.destinazione},
        };
        for (const Side& side : sides) {
            if (t.tipologia.size() != 1 || side.types.find(t.tipologia[0]) == side.types.npos) {
                lines_.next(side.line);
                continue;
            }
            const std::string_view value = nextValue(side.time);
            const auto fields = fieldsOf(t, side.end);
            timeInto(value, fields.ora, fields.minuti, side.time);
            if (value == "-" && side.place == "-")
                side.place.clear();
        }
    }

    // The writer holds the same bounds, so whatever is read here can be saved again.
    void checkTextLimits(const Treno& t) {
        const TextMeasure measure = measureTrainTexts(t);
        if (measure.oversizedField)
            throw tooLong(*measure.oversizedField);
        textBytes_ += measure.bytes;
        if (textBytes_ > kMaxScenarioTextBytes)
            throw ScenarioFileError(FormatError::FileTooLarge,
                                    lines_.where() + "i testi dello scenario superano " +
                                        std::to_string(kMaxScenarioTextBytes) + " byte");
    }

    Scenario& s_;
    LineSource lines_;
    std::size_t textBytes_ = 0;
};

} // namespace

void readScenario(Scenario& s, std::string_view bytes) {
    Reader(s, bytes).run();
}

void Funzione_Carica(Scenario& s) {
    readScenario(s, readScenarioFile(s.nome_file_carica));
}

} // namespace zeb
