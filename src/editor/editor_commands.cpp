#include "editor/editor_commands.h"

#include "controls/file_names.h"
#include "csv_exchange/trains_csv.h"
#include "editor/editor_logic.h"
#include "gtfs/train_choice.h"
#include "model/counted.h"
#include "recovery/recovery_store.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <memory>

namespace zeb {

EditorCommands::EditorCommands(EditorLogic& logic, EditorUi& ui)
    : logic_(logic), ui_(ui), document_(logic.document()), s_(logic.document().scenario()) {}

void EditorCommands::showFileError(const std::string& message) {
    ui_.showMessage(message, "", MessageIcon::None, MessageButtons::Ok);
}

bool EditorCommands::canUndo() const {
    return logic_.canShowTrain() &&
           (document_.history().canUndo() || logic_.hasUnconfirmedChanges());
}

bool EditorCommands::canRedo() const {
    return logic_.canShowTrain() && document_.history().canRedo();
}

std::string EditorCommands::undoLabel() const {
    if (logic_.hasUnconfirmedChanges())
        return "modifiche al treno " + s_.treni[static_cast<std::size_t>(s_.treno_attuale)].numero;
    return document_.history().undoLabel();
}

void EditorCommands::undo() {
    // Typing not yet confirmed goes first, the history staying as it is.
    if (!canUndo() || logic_.dropUnconfirmedChanges())
        return;
    if (auto change = document_.history().undo(s_))
        document_.stepped(std::move(*change));
}

void EditorCommands::redo() {
    if (!canRedo())
        return;
    if (auto change = document_.history().redo(s_))
        document_.stepped(std::move(*change));
}

void EditorCommands::saveVariantAs() {
    if (!logic_.salva.enabled)
        return;
    const auto base = document_.file();
    if (!base) {
        ui_.showMessage("Lo scenario non ha ancora un file: salvarlo prima come giorno base, poi "
                        "farne la variante.",
                        kVariantCaption, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    FileFilter filter = kScenarioFilter;
    const std::filesystem::path basePath = pathOf(*base);
    filter.suggestedName =
        utf8Of(basePath.parent_path() / pathOf(utf8Of(basePath.stem()) + " - variante.zeb"));
    filter.title = "Salva variante come";
    const auto chosen = ui_.askSaveFileName(filter);
    if (!chosen)
        return;
    const std::string path = withExtension(*chosen, "zeb");
    std::error_code unknown;
    if (std::filesystem::equivalent(pathOf(path), basePath, unknown)) {
        ui_.showMessage("La variante va salvata in un altro file: questo è il suo giorno base.",
                        kVariantCaption, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    EditorData& data = document_.data();
    const EditorData before = data;
    data.baseDay = *base;
    if (!logic_.saveAs(path))
        data = before;
}

void EditorCommands::checkFileOnDisk() {
    if (!document_.changeToOffer())
        return;
    const auto file = document_.file();
    const std::string lost =
        logic_.hasUnsavedChanges() ? " Le modifiche non salvate andranno perse." : "";
    if (ui_.showMessage("Il file " + utf8Of(pathOf(*file).filename()) +
                            " è stato modificato da un altro programma. Ricaricarlo?" + lost,
                        "File modificato", MessageIcon::Question,
                        MessageButtons::YesNoDefaultNo) == Answer::Yes)
        logic_.reloadFromDisk();
}

namespace {

const FileFilter kCsvFilter{"File CSV (*.csv) ", "*.csv"};

std::string dateAndTime(std::time_t when) {
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y alle %H:%M", std::localtime(&when));
    return text;
}

} // namespace

void EditorCommands::offerRecovery(RecoveryStore& store) {
    if (logic_.scenarioOpen())
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
    const std::string ofFile = file.empty()
                                   ? std::string(", mai salvato")
                                   : ", del file " + utf8Of(pathOf(file).filename()) +
                                         " nella cartella " + utf8Of(pathOf(file).parent_path());
    const Answer answer = ui_.showMessage(
        "È stato trovato uno scenario non salvato (" + name + ", " + trains + ofFile +
            ", modificato il " + dateAndTime(newest.modified) + "). Ripristinarlo?",
        "Scenario non salvato", MessageIcon::Question, MessageButtons::YesNo);
    if (answer != Answer::Yes || !store.adopt(newest.path)) {
        store.setAside(newest.path);
        return;
    }
    document_.setRecoveredCopy(store.ownCopy());
    logic_.openScenarioFile(store.ownCopy());
    // Its own file again, still to be saved: SALVA starts there.
    s_.nome_file = file;
    document_.data().recoveredFrom.clear();
    document_.settleData();
    document_.rememberFileOnDisk();
    document_.setUnsaved(logic_.scenarioOpen()); // the restored changes are still to be saved
}

void EditorCommands::exportCsv() {
    if (!logic_.scenarioOpen())
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

void EditorCommands::importCsv() {
    if (!logic_.canShowTrain())
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
    document_.importCsv(result);
}

void EditorCommands::importGtfs(const std::string& serviceDay, std::vector<Treno> trains,
                                const StationDay* feedStation,
                                const std::optional<CheckSettings>& tracksWith,
                                PresentTrains present, const TrainLinks& links) {
    if (!logic_.canShowTrain() || trains.empty())
        return;
    const long count = static_cast<long>(trains.size());
    // The units of the feed, named by their trains, to be found wherever the trains go.
    std::vector<StoredLink> units = storedLinks(trains, links);
    SettledImport settled = settleImport(s_, ChosenTrains{std::move(trains), count, {}}, present);
    const DayImported done = document_.importDay(
        {serviceDay, std::move(settled), std::move(units), feedStation, tracksWith});
    if (done.refusal)
        ui_.showMessage("Nessun treno è stato importato: " + *done.refusal, "Importazione GTFS",
                        MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace zeb
