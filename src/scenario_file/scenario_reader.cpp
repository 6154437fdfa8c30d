#include "scenario_file/scenario_reader.h"

#include "model/conversions.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"

#include <algorithm>
#include <vector>

namespace zeb {

namespace {

const std::string kSeparatore = "Prossimo treno:";

struct Orario {
    std::string ora;
    std::string minuti;
};

class Reader {
public:
    Reader(Scenario& s, LineSource& lines) : s_(s), lines_(lines) {}

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
    // The text after the first "= " of the line just read.
    std::string valueOf(const std::string& line, const std::string& expected) {
        const auto equals = line.find("= ");
        if (equals == std::string::npos)
            throw ScenarioFileError(FormatError::ValoreMancante,
                                    lines_.where() +
                                        "manca \"= \" prima del valore (atteso: " + expected + ")");
        return line.substr(equals + 2);
    }

    // The value of the next line that begins with `letter`; other lines are passed over.
    std::string headerValue(char letter, const std::string& expected) {
        while (true) {
            const std::string line = lines_.next(expected);
            if (!line.empty() && line[0] == letter)
                return valueOf(line, expected);
        }
    }

    // The value of the next line that is not a "#" comment.
    std::string nextValue(const std::string& expected) {
        std::string line = lines_.next(expected);
        while (!line.empty() && line[0] == '#')
            line = lines_.next(expected);
        return valueOf(line, expected);
    }

    // Hour and minute of "H.M" (further pieces ignored). A lone "-" is the writer's mark of a
    // time that does not apply and reads as an empty time.
    Orario timeOf(const std::string& value, const std::string& expected) {
        if (value == "-")
            return {};
        const auto dot = value.find('.');
        if (dot == std::string::npos)
            throw ScenarioFileError(FormatError::OrarioNonValido,
                                    lines_.where() + "l'orario \"" + value +
                                        "\" non contiene \".\" (atteso: " + expected + ")");
        const auto second = value.find('.', dot + 1);
        return {value.substr(0, dot),
                value.substr(dot + 1,
                             second == std::string::npos ? std::string::npos : second - dot - 1)};
    }

    int trackCount(const std::string& value) {
        const bool digits =
            !value.empty() && value.size() <= 5 &&
            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || std::stoi(value) > 32767)
            throw ScenarioFileError(FormatError::NumeroBinariNonValido,
                                    lines_.where() + "il numero dei binari \"" + value +
                                        "\" non è un numero");
        return std::stoi(value);
    }

    void readHeader() {
        s_.nome_stazione = headerValue('S', "la riga \"Stazione di = \"");
        const Orario inizio = timeOf(headerValue('O', "la riga \"Ora inizio simulazione = \""),
                                     "l'ora di inizio simulazione");
        s_.ora_inizio = inizio.ora;
        s_.min_inizio = inizio.minuti;
        const int count = trackCount(headerValue('N', "la riga \"Numero binari stazione = \""));
        const int names = readTrackNames(headerValue('N', "la riga \"Numeri binari stazione = \""));
        // Only names that the line really holds are valid entries of the table.
        s_.numero_binari = std::min(count, names);
        Controlla_Binari_2(s_);
    }

    // Fills the track table from "1,2,1tronco,." and returns the number of names.
    int readTrackNames(const std::string& value) {
        std::vector<std::string> pieces;
        std::size_t start = 0;
        while (true) {
            const auto comma = value.find(',', start);
            pieces.push_back(value.substr(start, comma - start));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        const auto end = std::find(pieces.begin(), pieces.end(), ".");
        if (end == pieces.end())
            throw ScenarioFileError(FormatError::BinariSenzaFine,
                                    lines_.where() + "l'elenco dei binari non termina con \".\"");
        const int names = static_cast<int>(end - pieces.begin());
        if (names > kTrackSlots)
            throw ScenarioFileError(FormatError::TroppiBinari,
                                    lines_.where() + "l'elenco nomina " + std::to_string(names) +
                                        " binari, al massimo sono " + std::to_string(kTrackSlots));
        for (int k = 0; k < names; ++k)
            s_.tabella_binari[k] = {pieces[k], std::to_string(k)};
        return names;
    }

    void checkInList(bool inList, const std::string& what, const std::string& value) {
        if (!inList)
            throw ScenarioFileError(FormatError::ValoreFuoriElenco,
                                    lines_.where() + what + " \"" + value +
                                        "\" non è tra i valori dell'elenco");
    }

    void readRecord() {
        if (lines_.next("un treno") != kSeparatore)
            return; // blank lines, comments and anything else between records
        if (s_.totale_treni >= kMaxTrains)
            throw ScenarioFileError(FormatError::TroppiTreni,
                                    lines_.where() + "il file contiene più di " +
                                        std::to_string(kMaxTrains) + " treni");
        Treno& t = s_.treni[s_.totale_treni];
        t.tipologia = nextValue("la tipologia del treno");
        t.numero = nextValue("il numero del treno");
        t.destinazione = nextValue("la destinazione");
        t.provenienza = nextValue("la provenienza");
        t.categoria = nextValue("la categoria");
        checkInList(positionIn(kCategorie, t.categoria).has_value(), "la categoria", t.categoria);
        s_.treno_in_uso = s_.totale_treni;
        Categoria_Combo(s_);

        // The line of a time the type code says is absent is passed over unread.
        // The writer writes a "-" time exactly when that end's place is empty, so a "-" place
        // beside a "-" time is the same mark, also for a train with neither end (type "0").
        if (t.tipologia == "1" || t.tipologia == "2") {
            const std::string value = nextValue("l'orario di arrivo");
            const Orario arrivo = timeOf(value, "l'orario di arrivo");
            t.ora_arrivo = arrivo.ora;
            t.min_arrivo = arrivo.minuti;
            if (value == "-" && t.provenienza == "-")
                t.provenienza.clear();
        } else {
            lines_.next("la riga dell'arrivo");
        }
        if (t.tipologia == "2" || t.tipologia == "0") {
            const std::string value = nextValue("l'orario di partenza");
            const Orario partenza = timeOf(value, "l'orario di partenza");
            t.ora_partenza = partenza.ora;
            t.min_partenza = partenza.minuti;
            if (value == "-" && t.destinazione == "-")
                t.destinazione.clear();
        } else {
            lines_.next("la riga della partenza");
        }

        t.binario = nextValue("il binario");
        t.ritardo = nextValue("l'indice di ritardo");
        checkInList(positionIn(kRitardi, t.ritardo).has_value(), "l'indice di ritardo", t.ritardo);
        t.fermate = nextValue("le fermate successive");
        t.codice_sussidiaria = nextValue("l'indicazione sussidiaria");
        checkInList(
            listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size())).has_value(),
            "l'indicazione sussidiaria", t.codice_sussidiaria);
        s_.treno_in_uso = s_.totale_treni;
        Combo_Sussi(s_);
        t.note = nextValue("le note al treno");

        if (t.tipologia == "0") {
            t.provenienza.clear();
            t.ora_arrivo.clear();
            t.min_arrivo.clear();
        } else if (t.tipologia == "1") {
            t.destinazione.clear();
            t.ora_partenza.clear();
            t.min_partenza.clear();
        }
        ++s_.totale_treni;
    }

    Scenario& s_;
    LineSource& lines_;
};

} // namespace

void Funzione_Carica(Scenario& s) {
    LineSource lines(s.nome_file_carica);
    Reader(s, lines).run();
}

} // namespace zeb
