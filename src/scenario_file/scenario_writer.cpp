#include "scenario_file/scenario_writer.h"

#include "model/value_tables.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/text_limits.h"
#include "scenario_file/windows1252.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// Copies `value` to `to` while it is plain ASCII above the control range, eight bytes at a
// time; returns the end of the copy, or nullptr at the first word that may need encoding (a
// byte from 0x80 up, or one below 0x0E, which takes in CR and LF).
char* copyIfPlain(char* to, std::string_view value) {
    constexpr std::uint64_t kEachByte = 0x0101010101010101u;
    const char* from = value.data();
    const char* const end = from + value.size();
    for (; end - from >= 8; from += 8, to += 8) {
        std::uint64_t word;
        std::memcpy(&word, from, 8);
        if (((word - 0x0E * kEachByte) | word) & (0x80 * kEachByte))
            return nullptr;
        std::memcpy(to, &word, 8);
    }
    for (; from != end; ++from, ++to) {
        const auto byte = static_cast<unsigned char>(*from);
        if (byte >= 0x80 || byte < 0x0E)
            return nullptr;
        *to = *from;
    }
    return to;
}

// Writes the file into one buffer made large enough for each block before the block is written,
// so that no line grows it; every value is encoded and checked as it is written.
class FileWriter {
public:
    explicit FileWriter(std::size_t expectedBytes) : out_(expectedBytes, '\0') {}

    // Makes room for `bytes` more.
    void reserve(std::size_t bytes) {
        if (out_.size() - used_ < bytes)
            out_.resize(std::max(out_.size() * 2, used_ + bytes));
    }

    // The train whose lines follow, at 0-based `index`, for error messages; none for the
    // station's lines.
    void setTrain(int index, const Treno* train) {
        index_ = index;
        train_ = train;
    }

    // Returns the value's bytes as written, a view into the file being made.
    std::string_view line(std::string_view keyword, std::string_view value) {
        put(keyword);
        const std::size_t start = used_;
        putValue(keyword, value);
        const std::string_view written(out_.data() + start, used_ - start);
        put("\r\n");
        return written;
    }

    // "keyword ora.minuti", or "keyword -" for an end the train does not have.
    void timeLine(std::string_view keyword, bool applies, std::string_view ora,
                  std::string_view minuti) {
        if (!applies) {
            line(keyword, "-");
            return;
        }
        put(keyword);
        putValue(keyword, ora);
        put(".");
        putValue(keyword, minuti);
        put("\r\n");
    }

    // Replaces the value of the line just written, seen as `written`.
    void replaceLastValue(std::string_view written, std::string_view value) {
        used_ -= 2 + written.size();
        put(value);
        put("\r\n");
    }

    void literal(std::string_view text) {
        put(text);
        put("\r\n");
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

    std::string take() {
        out_.resize(used_);
        return std::move(out_);
    }

private:
    void put(std::string_view text) {
        std::memcpy(out_.data() + used_, text.data(), text.size());
        used_ += text.size();
    }

    // Plain ASCII, nearly every value, is copied as it is. Encoding never lengthens a value:
    // each character becomes one byte, each line break one blank.
    void putValue(std::string_view keyword, std::string_view value) {
        if (char* end = copyIfPlain(out_.data() + used_, value)) {
            used_ = static_cast<std::size_t>(end - out_.data());
            return;
        }
        scratch_.clear();
        const bool encoded = value.find_first_of("\r\n") == std::string_view::npos
                                 ? appendAsWindows1252(scratch_, value)
                                 : appendAsWindows1252(scratch_, withoutLineBreaks(value));
        if (!encoded)
            fail(FormatError::UnsavableCharacter, keyword,
                 "contiene un carattere che non si può scrivere nel file (codifica Windows-1252)");
        // A last guard: no byte the reader splits lines on ever goes into a value.
        if (scratch_.find_first_of("\r\n") != std::string::npos)
            fail(FormatError::UnsavableCharacter, keyword, "andrebbe a capo dentro il valore");
        put(scratch_);
    }

    std::string out_;
    std::size_t used_ = 0;
    std::string scratch_;
    int index_ = 0;
    const Treno* train_ = nullptr;
};

// Room for a block's keywords, marks and line ends, and the few bytes by which its written
// values may pass its texts ("-" for an empty end, "99" for a missing track), with bytes to spare.
constexpr std::size_t kBlockFrameBytes = 512;

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
std::size_t checkValues(FileWriter& out, const Treno& t) {
    if (!positionIn(kCategorie, t.categoria))
        out.fail(FormatError::ValueNotInList, "Categoria",
                 "vale " + quotedValue(t.categoria) + ", che non è una delle categorie");
    if (!positionIn(kRitardi, t.ritardo))
        out.fail(FormatError::ValueNotInList, "Indice Ritardo",
                 "vale " + quotedValue(t.ritardo) + ", ma deve essere da 0 a 4");
    if (!listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size())))
        out.fail(FormatError::ValueNotInList, "Indicazioni Sussidiarie",
                 "vale " + quotedValue(t.codice_sussidiaria) + ", ma deve essere da 0 a 10");
    const TextMeasure measure = measureTrainTexts(t);
    if (measure.oversizedField)
        out.fail(FormatError::LineTooLong, *measure.oversizedField,
                 "è più lungo di " + std::to_string(kMaxTextBytes) + " byte");
    return measure.bytes;
}

void writeTrain(FileWriter& out, const Treno& t) {
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
    FileWriter out(1024 + static_cast<std::size_t>(s.totale_treni) * 400);
    const TextMeasure station = measureStationTexts(s);
    if (station.oversizedField)
        out.fail(FormatError::LineTooLong, *station.oversizedField,
                 "è più lungo di " + std::to_string(kMaxTextBytes) + " byte");
    std::size_t textBytes = station.bytes;
    out.reserve(station.bytes + kBlockFrameBytes);
    out.line("Stazione di = ", s.nome_stazione);
    out.line("Ora inizio simulazione = ", s.ora_inizio + "." + s.min_inizio + ".00");
    out.line("Numero binari stazione = ",
             std::to_string(std::clamp(s.numero_binari, 0, kTrackSlots)));
    out.line("Numeri binari stazione = ", trackLineValue(s));
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        out.setTrain(i, &t);
        const std::size_t trainTextBytes = checkValues(out, t);
        textBytes += trainTextBytes;
        out.reserve(trainTextBytes + kBlockFrameBytes);
        writeTrain(out, t);
    }
    if (textBytes > kMaxScenarioTextBytes)
        throw ScenarioFileError(FormatError::FileTooLarge,
                                "I testi dello scenario superano " +
                                    std::to_string(kMaxScenarioTextBytes) +
                                    " byte: il file non si potrebbe più aprire");
    return out.take();
}

void Funzione_Salva_Con_Nome(Scenario& s) {
    const std::string bytes = scenarioFileBytes(s);
    replaceFileContents(s.nome_file, bytes);
    noteScenarioWritten(s);
}

void noteScenarioWritten(Scenario& s) {
    for (int i = 0; i < s.totale_treni; ++i) // the type code as written
        s.treni[i].tipologia.assign(1, tipologiaOf(s.treni[i]));
    s.treno_attuale = s.totale_treni;
}

} // namespace zeb
