#include "controls/file_names.h"
#include "csv_exchange/trains_csv.h"
#include "editor/editor_logic.h"
#include "model/counted.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <memory>

namespace zeb {

namespace {

const FileFilter kScenarioFilter{"File Scenario di ZEB (*.zeb) ", "*.zeb", {}, "zeb"};
const char* const kVariantCaption = "Salva variante";

} // namespace

void EditorLogic::showFileError(const std::string& message) {
    ui_.showMessage(message, "", MessageIcon::None, MessageButtons::Ok);
}

void EditorLogic::salva_Click() {
    // The dialog starts at the scenario's own file, in its folder; a name typed without its
    // extension gets ".zeb", so that APRI SCENARIO finds it again.
    FileFilter filter = kScenarioFilter;
    filter.suggestedName = scenarioFile().value_or("");
    if (const auto path = ui_.askSaveFileName(filter))
        saveTo(withExtension(*path, "zeb"));
}

bool EditorLogic::saveTo(const std::string& path) {
    if (!mayOverwrite(path))
        return false;
    s_.nome_file = path;
    data_.links = storedLinks(s_, history_.links());
    try {
        onDisk_ = offered_ = saveScenarioPair(s_, path, data_);
    } catch (const ScenarioFileError& error) {
        showFileError(error.message());
        return false;
    }
    history_.resync(s_);    // the save wrote the type codes, which are no change of the user's
    document_.settleData(); // nor is the base day a variant's save names
    document_.setUnsaved(false);
    enterCoveredState();
    return true;
}

bool EditorLogic::mayOverwrite(const std::string& path) {
    std::error_code unknown;
    if (!data_.baseDay.empty() && std::filesystem::equivalent(path, data_.baseDay, unknown)) {
        const std::string name = std::filesystem::path(data_.baseDay).filename().string();
        if (ui_.showMessage("Il file " + name +
                                " è il giorno base di questa variante: "
                                "sovrascriverlo con la variante? Il giorno base andrebbe perso.",
                            kVariantCaption, MessageIcon::Exclamation,
                            MessageButtons::YesNoDefaultNo) != Answer::Yes)
            return false;
        data_.baseDay.clear(); // a day is no variant of itself
    }
    const auto file = scenarioFile();
    if (!file || !std::filesystem::equivalent(path, *file, unknown) || pairOnDisk(*file) == onDisk_)
        return true;
    switch (ui_.showMessage("Il file è stato modificato da un altro programma: sovrascrivere, "
                            "ricaricare o annullare?",
                            std::filesystem::path(*file).filename().string(),
                            MessageIcon::Exclamation, MessageButtons::OverwriteReloadCancel)) {
    case Answer::Overwrite:
        return true;
    case Answer::Reload:
        reloadFromDisk();
        return false;
    default:
        return false;
    }
}

void EditorLogic::rememberFileOnDisk() {
    const auto file = scenarioFile();
    onDisk_ = offered_ = file ? pairOnDisk(*file) : PairOnDisk{};
}

void EditorLogic::checkFileOnDisk() {
    const auto file = scenarioFile();
    if (!file)
        return;
    const PairOnDisk now = pairOnDisk(*file);
    if (now == onDisk_ || now == offered_)
        return;
    offered_ = now; // asked once for each change made elsewhere
    const std::string lost = hasUnsavedChanges() ? " Le modifiche non salvate andranno perse." : "";
    if (ui_.showMessage("Il file " + std::filesystem::path(*file).filename().string() +
                            " è stato modificato da un altro programma. Ricaricarlo?" + lost,
                        "File modificato", MessageIcon::Question,
                        MessageButtons::YesNoDefaultNo) == Answer::Yes)
        reloadFromDisk();
}

void EditorLogic::reloadFromDisk() {
    const auto file = scenarioFile();
    if (!file)
        return;
    const std::string path = *file;
    closeScenario();
    openScenarioFile(path);
}

std::optional<std::string> EditorLogic::scenarioFile() const {
    const std::string& path = !s_.nome_file.empty() ? s_.nome_file : s_.nome_file_carica;
    if (!scenarioOpen() || path.empty() || path == recoveredCopy_)
        return std::nullopt;
    return path;
}

void EditorLogic::saveVariantAs() {
    if (!salva.enabled)
        return;
    const auto base = scenarioFile();
    if (!base) {
        ui_.showMessage("Lo scenario non ha ancora un file: salvarlo prima come giorno base, poi "
                        "farne la variante.",
                        kVariantCaption, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    FileFilter filter = kScenarioFilter;
    const std::filesystem::path basePath(*base);
    filter.suggestedName =
        (basePath.parent_path() / (basePath.stem().string() + " - variante.zeb")).string();
    filter.title = "Salva variante come";
    const auto chosen = ui_.askSaveFileName(filter);
    if (!chosen)
        return;
    const std::string path = withExtension(*chosen, "zeb");
    std::error_code unknown;
    if (std::filesystem::equivalent(path, *base, unknown)) {
        ui_.showMessage("La variante va salvata in un altro file: questo è il suo giorno base.",
                        kVariantCaption, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const EditorData before = data_;
    const std::string name = s_.nome_file;
    data_.baseDay = *base;
    if (!saveTo(path)) {
        data_ = before;
        s_.nome_file = name;
    }
}

void EditorLogic::carica_scenario_Click() {
    if (const auto path = ui_.askOpenFileName({"File Zebrano (*.zeb) ", "*.zeb"}))
        openScenarioFile(*path);
}

void EditorLogic::openScenarioFile(const std::string& path) {
    if (scenarioOpen())
        return;
    // The file is read into a copy, kept only when the whole file was read: after an error
    // the scenario and every control are as they were.
    Scenario loaded = s_;
    loaded.nome_file_carica = path;
    try {
        Funzione_Carica(loaded);
    } catch (const ScenarioFileError& error) {
        showFileError(error.message());
        return;
    }
    s_ = std::move(loaded);

    enableScenarioCommands();
    if (s_.totale_treni > 0) {
        tprecedente.enabled = true;
        numerotrenit.setText(std::to_string(s_.totale_treni));
    }
    ui_.openStationDialog(s_, binario);
    s_.treno_attuale = s_.totale_treni;
    Cancella();
    document_.replaced();
    const EditorDataRead companion = loadEditorData(path);
    data_ = companion.data;
    document_.settleData();
    const FoundLinks found = findLinks(s_, data_.links);
    history_.setLinks(found.links);
    std::string note = companion.note.value_or("");
    if (found.ignored > 0)
        note += std::string(note.empty() ? "" : "\r\n") + "Del file " +
                std::filesystem::path(companionPathOf(path)).filename().string() + " " +
                (found.ignored == 1 ? "un collegamento nomina"
                                    : std::to_string(found.ignored) + " collegamenti nominano") +
                " treni che lo scenario non ha, o li nomina due volte: " +
                (found.ignored == 1 ? "è ignorato" : "sono ignorati") +
                ". Il file resta com'è finché non si salva.";
    rememberFileOnDisk();
    if (!note.empty())
        ui_.showMessage(note, "Dati dell'editor", MessageIcon::Exclamation, MessageButtons::Ok);
}

namespace {

const FileFilter kCsvFilter{"File CSV (*.csv) ", "*.csv"};

std::string dateAndTime(std::time_t when) {
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y alle %H:%M", std::localtime(&when));
    return text;
}

} // namespace

void EditorLogic::offerRecovery(RecoveryStore& store) {
    if (scenarioOpen())
        return;
    const auto orphans = store.orphans();
    if (orphans.empty())
        return;
    for (std::size_t k = 1; k < orphans.size(); ++k)
        store.setAside(orphans[k].path);
    const RecoveryStore::Orphan& newest = orphans.front();
    auto copy = std::make_unique<Scenario>();
    copy->nome_file_carica = newest.path;
    try {
        Funzione_Carica(*copy);
    } catch (const ScenarioFileError& error) {
        // A copy that vanished was adopted by another editor starting at the same time: that is
        // no error of this one's.
        if (error.number() == ENOENT)
            return;
        const std::string aside = store.setAside(newest.path);
        ui_.showMessage("È stato trovato uno scenario non salvato, ma non si può leggere: " +
                            error.message() + "\r\nÈ stato messo da parte in " + aside + ".",
                        "Scenario non salvato", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const std::string name = copy->nome_stazione.empty() ? "senza nome" : copy->nome_stazione;
    const std::string trains = countedTrains(copy->totale_treni);
    const std::string file = loadEditorData(newest.path).data.recoveredFrom;
    const std::string ofFile =
        file.empty() ? std::string(", mai salvato")
                     : ", del file " + std::filesystem::path(file).filename().string() +
                           " nella cartella " + std::filesystem::path(file).parent_path().string();
    const Answer answer = ui_.showMessage(
        "È stato trovato uno scenario non salvato (" + name + ", " + trains + ofFile +
            ", modificato il " + dateAndTime(newest.modified) + "). Ripristinarlo?",
        "Scenario non salvato", MessageIcon::Question, MessageButtons::YesNo);
    if (answer != Answer::Yes || !store.adopt(newest.path)) {
        store.setAside(newest.path);
        return;
    }
    recoveredCopy_ = store.ownCopy();
    openScenarioFile(store.ownCopy());
    // Its own file again, still to be saved: SALVA starts there.
    s_.nome_file = file;
    data_.recoveredFrom.clear();
    document_.settleData();
    rememberFileOnDisk();
    document_.setUnsaved(scenarioOpen()); // the restored changes are still to be saved
}

void EditorLogic::exportCsv() {
    if (!scenarioOpen())
        return;
    FileFilter filter = kCsvFilter;
    filter.suggestedName = suggestedFileName(s_.nome_stazione, "treni", "csv");
    filter.extension = "csv";
    const auto chosen = ui_.askSaveFileName(filter);
    if (!chosen)
        return;
    const std::string path = withExtension(*chosen, filter.extension);
    try {
        replaceFileContents(path, trainsCsv(s_));
    } catch (const ScenarioFileError& error) {
        showFileError(error.message());
    }
}

void EditorLogic::importCsv() {
    if (!canShowTrain())
        return;
    const auto path = ui_.askOpenFileName(kCsvFilter);
    if (!path)
        return;
    CsvImport result;
    const std::string what = "Importazione dei treni da CSV…";
    try {
        result =
            importTrainsCsv(s_, readScenarioFile(*path), [&](std::size_t done, std::size_t total) {
                return ui_.showProgress(what, done, total);
            });
    } catch (const ScenarioFileError& error) {
        ui_.showProgress(what, 1, 1);
        showFileError(error.message());
        return;
    }
    ui_.showProgress(what, 1, 1);
    if (result.cancelled)
        return;
    if (!result.ok()) {
        std::string text = "Nessun treno è stato importato:";
        for (const std::string& error : result.errors)
            text += "\r\n" + error;
        ui_.showMessage(text, "Importazione da CSV", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const int first = appendImportedTrains(s_, result);
    s_.treno_attuale = s_.totale_treni;
    numerotrenit.setText(std::to_string(s_.totale_treni));
    Cancella();
    enterCoveredState();
    commit("importazione di " + countedTrains(s_.totale_treni - first));
}

} // namespace zeb
