#include "scenario_file/scenario_writer.h"

#include "model/value_tables.h"
#include "scenario_file/file_limits.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
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
    // `where` names the record for error messages ("la stazione", "il treno 3 (numero 231)").
    void setWhere(std::string where) { where_ = std::move(where); }

    void line(std::string_view keyword, std::string_view value) {
        auto bytes = utf8ToWindows1252(withoutLineBreaks(value));
        if (!bytes)
            fail(FormatError::CarattereNonSalvabile, keyword,
                 "contiene un carattere che non si può scrivere nel file (codifica Windows-1252)");
        if (keyword.size() + bytes->size() > kMaxLineBytes)
            fail(FormatError::RigaTroppoLunga, keyword,
                 "è più lungo di " + std::to_string(kMaxLineBytes) + " caratteri");
        out_.append(keyword).append(*bytes).append("\r\n");
        if (out_.size() > kMaxFileBytes)
            throw ScenarioFileError(FormatError::FileTroppoGrande,
                                    "Il file supererebbe " + std::to_string(kMaxFileBytes) +
                                        " byte e non si potrebbe più aprire");
    }

    void literal(std::string_view text) { out_.append(text).append("\r\n"); }

    [[noreturn]] void fail(FormatError number, std::string_view keyword, const std::string& what) {
        std::string field(keyword);
        if (field.size() >= 3)
            field.resize(field.size() - 3); // drop " = "
        throw ScenarioFileError(number,
                                capitalised(where_) + ": il campo \"" + field + "\" " + what);
    }

    std::string take() { return std::move(out_); }

private:
    static std::string capitalised(std::string text) {
        if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
            text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text;
    }

    std::string out_;
    std::string where_;
};

std::string trackLine(const Scenario& s) {
    std::string names;
    const int entries = std::clamp(s.numero_binari, 0, kTrackSlots);
    for (int k = 0; k < entries; ++k)
        names += s.tabella_binari[k].nome + ",";
    return names + ".";
}

std::string tipologiaOf(const Treno& t) {
    if (t.provenienza.empty())
        return "0";
    if (t.destinazione.empty())
        return "1";
    return "2";
}

std::string orValueDash(const std::string& value) {
    return value.empty() ? "-" : value;
}

// The values the reader checks against the editor's lists must be in them.
void checkListValues(LineWriter& out, const Treno& t) {
    if (!positionIn(kCategorie, t.categoria))
        out.fail(FormatError::ValoreFuoriElenco,
                 "Categoria = ", "vale \"" + t.categoria + "\", che non è una delle categorie");
    if (!positionIn(kRitardi, t.ritardo))
        out.fail(FormatError::ValoreFuoriElenco,
                 "Indice Ritardo = ", "vale \"" + t.ritardo + "\", ma deve essere da 0 a 4");
    if (!listPosition(t.codice_sussidiaria, static_cast<int>(kSussidiarie.size())))
        out.fail(FormatError::ValoreFuoriElenco, "Indicazioni Sussidiarie = ",
                 "vale \"" + t.codice_sussidiaria + "\", ma deve essere da 0 a 10");
}

void writeTrain(LineWriter& out, Treno& t) {
    out.literal("");
    out.literal("Prossimo treno:");
    t.tipologia = tipologiaOf(t);
    out.line("Tipologia di treno = ", t.tipologia);
    out.line("Numero Treno = ", t.numero);
    out.line("Destinazione = ", orValueDash(t.destinazione));
    out.line("Provenienza = ", orValueDash(t.provenienza));
    out.line("Categoria = ", t.categoria);
    out.line("Arrivo = ", t.provenienza.empty() ? "-" : t.ora_arrivo + "." + t.min_arrivo);
    out.line("Partenza = ", t.destinazione.empty() ? "-" : t.ora_partenza + "." + t.min_partenza);
    out.line("Binario = ",
             isCategoriaSenzaBinario(t.categoria) ? std::string(kBinarioSenzaBinario) : t.binario);
    out.line("Indice Ritardo = ", t.ritardo);
    const bool terminaQui = t.fermate == std::string(kTerminaQui) + std::string(kFineFermate);
    out.line("Fermate Successive = ", terminaQui ? "-" : t.fermate);
    out.line("Indicazioni Sussidiarie = ", t.codice_sussidiaria);
    out.line("Note al treno = ", t.note);
}

} // namespace

std::string scenarioFileBytes(Scenario& s) {
    LineWriter out;
    out.setWhere("la stazione");
    out.line("Stazione di = ", s.nome_stazione);
    out.line("Ora inizio simulazione = ", s.ora_inizio + "." + s.min_inizio + ".00");
    out.line("Numero binari stazione = ",
             std::to_string(std::clamp(s.numero_binari, 0, kTrackSlots)));
    out.line("Numeri binari stazione = ", trackLine(s));
    for (int i = 0; i < s.totale_treni; ++i) {
        Treno& t = s.treni[i];
        out.setWhere("il treno " + std::to_string(i + 1) + " (numero \"" + t.numero + "\")");
        checkListValues(out, t);
        writeTrain(out, t);
    }
    return out.take();
}

void Funzione_Salva_Con_Nome(Scenario& s) {
    const std::string bytes = scenarioFileBytes(s);
    replaceFileContents(s.nome_file, bytes);
    s.treno_attuale = s.totale_treni;
}

} // namespace zeb
