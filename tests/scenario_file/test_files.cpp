#include "scenario_file/test_files.h"

#include "model/track_slots.h"
#include "scenario_file/scenario_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zeb::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zeb-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempFolder::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names)
        out += name + "\n";
    return out;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string crlfLines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

Scenario stationValmora() {
    Scenario s;
    s.nome_stazione = "Valmora";
    s.ora_inizio = "06";
    s.min_inizio = "30";
    s.binari_scelti[0] = s.binari_scelti[1] = s.binari_scelti[23] = true;
    rebuildTrackTable(s);
    return s;
}

Scenario exampleScenario() {
    Scenario s = stationValmora();
    Treno& regionale = s.treni[0];
    regionale.numero = "231";
    regionale.destinazione = "Borgo Alto";
    regionale.provenienza = "Campolungo";
    regionale.categoria = "Regionale";
    regionale.indice_categoria = "13";
    regionale.ritardo = "1";
    regionale.ora_arrivo = "06";
    regionale.min_arrivo = "42";
    regionale.ora_partenza = "06";
    regionale.min_partenza = "44";
    regionale.binario = "2";
    regionale.fermate = "Pieve,Rocca,.";
    regionale.sussidiaria = "Nessuna";
    regionale.codice_sussidiaria = "0";

    Treno& autobus = s.treni[1];
    autobus.numero = "88";
    autobus.provenienza = "Borgo Alto";
    autobus.categoria = "Autobus";
    autobus.indice_categoria = "0";
    autobus.ritardo = "0";
    autobus.ora_arrivo = "07";
    autobus.min_arrivo = "05";
    autobus.ora_partenza = "--";
    autobus.min_partenza = "--";
    autobus.binario = "1";
    autobus.fermate = "Il treno termina nella stazione simulata,.";
    autobus.sussidiaria = "Autobus (Piazzale Esterno)";
    autobus.codice_sussidiaria = "10";

    s.totale_treni = 2;
    s.treno_attuale = 2;
    return s;
}

std::vector<std::string> exampleFileLines() {
    return {"Stazione di = Valmora",
            "Ora inizio simulazione = 06.30.00",
            "Numero binari stazione = 3",
            "Numeri binari stazione = 1,2,1tronco,.",
            "",
            "Prossimo treno:",
            "Tipologia di treno = 2",
            "Numero Treno = 231",
            "Destinazione = Borgo Alto",
            "Provenienza = Campolungo",
            "Categoria = Regionale",
            "Arrivo = 06.42",
            "Partenza = 06.44",
            "Binario = 2",
            "Indice Ritardo = 1",
            "Fermate Successive = Pieve,Rocca,.",
            "Indicazioni Sussidiarie = 0",
            "Note al treno = ",
            "",
            "Prossimo treno:",
            "Tipologia di treno = 1",
            "Numero Treno = 88",
            "Destinazione = -",
            "Provenienza = Borgo Alto",
            "Categoria = Autobus",
            "Arrivo = 07.05",
            "Partenza = -",
            "Binario = 99",
            "Indice Ritardo = 0",
            "Fermate Successive = -",
            "Indicazioni Sussidiarie = 10",
            "Note al treno = "};
}

std::string exampleFileBytes() {
    std::string out;
    for (const auto& line : exampleFileLines())
        out += line + "\r\n";
    return out;
}

Scenario loadBytes(const std::string& bytes, Scenario base) {
    TempFolder folder;
    Scenario s = std::move(base);
    s.nome_file_carica = folder.file("in.zeb");
    writeBytes(s.nome_file_carica, bytes);
    Funzione_Carica(s);
    return s;
}

std::string trainSummary(const Treno& t) {
    std::string out = t.tipologia;
    for (const std::string& field :
         {t.numero, t.destinazione, t.provenienza, t.categoria + "/" + t.indice_categoria,
          t.ora_arrivo + "." + t.min_arrivo, t.ora_partenza + "." + t.min_partenza, t.binario,
          t.ritardo, t.fermate, t.codice_sussidiaria + "/" + t.sussidiaria, t.note})
        out += "|" + field;
    return out;
}

std::string summary(const Scenario& s) {
    std::string tracks;
    for (int k = 0; k < std::clamp(s.numero_binari, 0, kTrackSlots); ++k)
        tracks += (k ? "," : "") + s.tabella_binari[k].nome;
    std::string out = s.nome_stazione + "|" + s.ora_inizio + "." + s.min_inizio + "|" + tracks +
                      "|" + std::to_string(s.conta_binari);
    for (int i = 0; i < s.totale_treni; ++i)
        out += "\n" + trainSummary(s.treni[i]);
    return out;
}

} // namespace zeb::test
