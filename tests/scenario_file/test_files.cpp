#include "scenario_file/test_files.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/scenario_reader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zeb::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::mt19937 draw{std::random_device{}()};
    for (int k = 0; k < 100 && path_.empty(); ++k) {
        // Short, so that the messages that quote a path in brief quote these whole.
        char name[16];
        std::snprintf(name, sizeof name, "zeb-%06x", static_cast<unsigned>(draw() & 0xFFFFFF));
        const fs::path folder = fs::temp_directory_path() / name;
        if (fs::create_directory(folder))
            path_ = utf8Of(folder);
    }
    if (path_.empty())
        throw std::runtime_error("no temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(pathOf(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(pathOf(path_), ignored);
}

std::string TempFolder::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pathOf(path_)))
        names.push_back(utf8Of(entry.path().filename()));
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names)
        out += name + "\n";
    return out;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(pathOf(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(pathOf(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string crlfLines(const std::vector<std::string>& lines) {
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

// The example file as read (the reader's own test checks every field of it), then what the
// editor stores differently from what a load gives back.
Scenario exampleScenario() {
    Scenario s = loadBytes(exampleFileBytes());
    Treno& autobus = s.treni[1];
    autobus.ora_partenza = autobus.min_partenza = "--";
    autobus.binario = "1";
    autobus.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
    s.treni[0].tipologia = autobus.tipologia = "";
    s.treno_attuale = 2;
    return s;
}

std::string sampleFile(const std::string& name) {
    return readBytes(std::string(ZEB_SAMPLE_FILES) + "/" + name);
}

std::vector<std::string> exampleFileLines() {
    const std::string bytes = exampleFileBytes();
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

std::string exampleFileBytes() {
    return sampleFile("example.zeb");
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
