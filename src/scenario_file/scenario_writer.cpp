#include "scenario_file/scenario_writer.h"

#include "model/value_tables.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/text_limits.h"
#include "scenario_file/windows1252.h"

#include <algorithm>

namespace zeb {

namespace {

// Each CR, LF or CR LF becomes one blank.
std::string withoutLineBreaks(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            out += ' ';
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

// Collects the file's lines, each encoded and checked as it is added.
class LineWriter {
public:
    explicit LineWriter(std::size_t expectedBytes) { out_.reserve(expectedBytes); }

    // The train whose lines follow, at 0-based `index`, for error messages; none for the
    // station's lines.
    void setTrain(int index, const Treno* train) {
        index_ = index;
        train_ = train;
    }

    // Returns the value's bytes as written, a view into the file being made.
    std::string_view line(std::string_view keyword, std::string_view value) {
        out_.append(keyword);
        const std::size_t start = out_.size();
        appendValue(keyword, value);
        out_.append("\r\n");
        return std::string_view(out_).substr(start, out_.size() - 2 - start);
    }

    // "keyword ora.minuti", or "keyword -" for an end the train does not have.
    void timeLine(std::string_view keyword, bool applies, std::string_view ora,
                  std::string_view minuti) {
        if (!applies) {
            line(keyword, "-");
            return;
        }
        out_.append(keyword);
        appendValue(keyword, ora);
        out_.push_back('.');
        appendValue(keyword, minuti);
        out_.append("\r\n");
    }

    // Replaces the value of the line just written, seen as `written`.
    void replaceLastValue(std::string_view written, std::string_view value) {
        out_.resize(out_.size() - 2 - written.size());
        out_.append(value).append("\r\n");
    }

    void literal(std::string_view text) { out_.append(text).append("\r\n"); }

    // Plain ASCII without line breaks, nearly every value, is copied as it is.
    void appendValue(std::string_view keyword, std::string_view value) {
        const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80 && c != '\r' && c != '\n';
        });
        if (plain) {
            out_.append(value);
            return;
        }
        const bool encoded = value.find_first_of("\r\n") == std::string_view::npos
                                 ? appendAsWindows1252(out_, value)
                                 : appendAsWindows1252(out_, withoutLineBreaks(value));
        if (!encoded)
            fail(FormatError::CarattereNonSalvabile, keyword,
                 "contiene un carattere che non si può scrivere nel file (codifica Windows-1252)");
    }

    [[noreturn]] void fail(FormatError number, std::string_view keyword, const std::string& what) {
        std::string field(keyword);
        if (field.size() >= 3 && field.ends_with(" = "))
            field.resize(field.size() - 3);
        const std::string where = train_ == nullptr
                                      ? "La stazione"
                                      : "Il treno " + std::to_string(index_ + 1) + " (numero " +
                                            quotedValue(train_->numero) + ")";
        throw ScenarioFileError(number, where + ": il campo \"" + field + "\" " + what);
    }

    std::string take() { return std::move(out_); }

private:
    std::string out_;
    int index_ = 0;
    const Treno* train_ = nullptr;
};

char tipologiaOf(const Treno& t) {
    if (t.provenienza.empty())
        return '0';
    if (t.destinazione.empty())
        return '1';
    return '2';
}

std::string_view orValueDash(const std::string& value) {
    return value.empty() ? std::string_view("-") : std::string_view(value);
}

// The values the reader checks against the editor's lists must be in them, and no text may
// pass the bounds the reader holds. Returns the size of the train's texts.
std::size_t checkValues(LineWriter& out, const Treno& t) {
    if (!positionIn(kCategorie, t.categoria))
        out.fail(FormatError::ValoreFuoriElenco, "Categoria",
                 "vale " + quotedValue(t.categoria) + ", che non è una delle categorie");
    if (!positionIn(kRitardi, t.ritardo))
        out.fail(FormatError::ValoreFuoriElenco, "Indice Ritardo",
                 "vale " + quotedValue(t.ritardo) + ", ma deve essere da 0 a 4");
    if (!listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size())))
        out.fail(FormatError::ValoreFuoriElenco, "Indicazioni Sussidiarie",
                 "vale " + quotedValue(t.codice_sussidiaria) + ", ma deve essere da 0 a 10");
    const TextMeasure measure = measureTrainTexts(t);
    if (measure.oversizedField)
        out.fail(FormatError::RigaTroppoLunga, *measure.oversizedField,
                 "è più lungo di " + std::to_string(kMaxTextBytes) + " byte");
    return measure.bytes;
}

void writeTrain(LineWriter& out, const Treno& t) {
    out.literal("");
    out.literal("Prossimo treno:");
    const char tipologia = tipologiaOf(t);
    out.line("Tipologia di treno = ", std::string_view(&tipologia, 1));
    out.line("Numero Treno = ", t.numero);
    out.line("Destinazione = ", orValueDash(t.destinazione));
    out.line("Provenienza = ", orValueDash(t.provenienza));
    out.line("Categoria = ", t.categoria);
    out.timeLine("Arrivo = ", !t.provenienza.empty(), t.ora_arrivo, t.min_arrivo);
    out.timeLine("Partenza = ", !t.destinazione.empty(), t.ora_partenza, t.min_partenza);
    out.line("Binario = ", isCategoriaSenzaBinario(t.categoria) ? kBinarioSenzaBinario : t.binario);
    out.line("Indice Ritardo = ", t.ritardo);
    // Decided on the stops as written, line breaks already blanks, so that a reloaded train
    // is written the same way.
    const std::string_view fermate = out.line("Fermate Successive = ", t.fermate);
    if (fermate.size() == kTerminaQui.size() + kFineFermate.size() &&
        fermate.starts_with(kTerminaQui) && fermate.ends_with(kFineFermate))
        out.replaceLastValue(fermate, "-");
    out.line("Indicazioni Sussidiarie = ", t.codice_sussidiaria);
    out.line("Note al treno = ", t.note);
}

} // namespace

std::string scenarioFileBytes(const Scenario& s) {
    LineWriter out(1024 + static_cast<std::size_t>(s.totale_treni) * 400);
    const TextMeasure station = measureStationTexts(s);
    if (station.oversizedField)
        out.fail(FormatError::RigaTroppoLunga, *station.oversizedField,
                 "è più lungo di " + std::to_string(kMaxTextBytes) + " byte");
    std::size_t textBytes = station.bytes;
    out.line("Stazione di = ", s.nome_stazione);
    out.line("Ora inizio simulazione = ", s.ora_inizio + "." + s.min_inizio + ".00");
    out.line("Numero binari stazione = ",
             std::to_string(std::clamp(s.numero_binari, 0, kTrackSlots)));
    out.line("Numeri binari stazione = ", trackLineValue(s));
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        out.setTrain(i, &t);
        textBytes += checkValues(out, t);
        writeTrain(out, t);
    }
    if (textBytes > kMaxScenarioTextBytes)
        throw ScenarioFileError(FormatError::FileTroppoGrande,
                                "I testi dello scenario superano " +
                                    std::to_string(kMaxScenarioTextBytes) +
                                    " byte: il file non si potrebbe più aprire");
    return out.take();
}

void Funzione_Salva_Con_Nome(Scenario& s) {
    const std::string bytes = scenarioFileBytes(s);
    replaceFileContents(s.nome_file, bytes);
    for (int i = 0; i < s.totale_treni; ++i) // the type code as written
        s.treni[i].tipologia.assign(1, tipologiaOf(s.treni[i]));
    s.treno_attuale = s.totale_treni;
}

} // namespace zeb
