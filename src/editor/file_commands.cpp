#include "controls/file_names.h"
#include "csv_exchange/trains_csv.h"
#include "editor/editor_logic.h"
#include "model/counted.h"
#include "scenario_file/file_paths.h"
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

void EditorLogic::showFileError(const std::string& message) {
    ui_.showMessage(message, "", MessageIcon::None, MessageButtons::Ok);
}

void EditorLogic::salva_Click() {
    // The dialog starts at the scenario's own file, in its folder; a name typed without its
    // extension gets ".zeb", so that APRI SCENARIO finds it again.
    FileFilter filter = kScenarioFilter;
    filter.suggestedName = document_.file().value_or("");
    if (const auto path = ui_.askSaveFileName(filter))
        saveAs(withExtension(*path, "zeb"));
}

bool EditorLogic::saveAs(const std::string& path) {
    if (!mayOverwrite(path))
        return false;
    try {
        document_.save(path);
    } catch (const ScenarioFileError& error) {
        showFileError(error.message());
        return false;
    }
    enterCoveredState();
    return true;
}

bool EditorLogic::mayOverwrite(const std::string& path) {
    std::error_code unknown;
    if (!data_.baseDay.empty() &&
        std::filesystem::equivalent(pathOf(path), pathOf(data_.baseDay), unknown)) {
        const std::string name = utf8Of(pathOf(data_.baseDay).filename());
        if (ui_.showMessage("Il file " + name +
                                " è il giorno base di questa variante: "
                                "sovrascriverlo con la variante? Il giorno base andrebbe perso.",
                            kVariantCaption, MessageIcon::Exclamation,
                            MessageButtons::YesNoDefaultNo) != Answer::Yes)
            return false;
        data_.baseDay.clear(); // a day is no variant of itself
    }
    const auto file = document_.file();
    if (!file || !std::filesystem::equivalent(pathOf(path), pathOf(*file), unknown) ||
        !document_.changedOnDisk())
        return true;
    switch (ui_.showMessage("Il file è stato modificato da un altro programma: sovrascrivere, "
                            "ricaricare o annullare?",
                            utf8Of(pathOf(*file).filename()), MessageIcon::Exclamation,
                            MessageButtons::OverwriteReloadCancel)) {
    case Answer::Overwrite:
        return true;
    case Answer::Reload:
        reloadFromDisk();
        return false;
    default:
        return false;
    }
}

void EditorLogic::reloadFromDisk() {
    const auto file = document_.file();
    if (!file)
        return;
    const std::string path = *file;
    closeScenario();
    openScenarioFile(path);
}

void EditorLogic::carica_scenario_Click() {
    if (const auto path = ui_.askOpenFileName({"File Zebrano (*.zeb) ", "*.zeb"}))
        openScenarioFile(*path);
}

void EditorLogic::openScenarioFile(const std::string& path) {
    if (scenarioOpen())
        return;
    // After an error the scenario and every control are as they were.
    try {
        document_.readScenario(path);
    } catch (const ScenarioFileError& error) {
        showFileError(error.message());
        return;
    }
    enableScenarioCommands();
    if (s_.totale_treni > 0) {
        tprecedente.enabled = true;
        numerotrenit.setText(std::to_string(s_.totale_treni));
    }
    ui_.openStationDialog(s_, binario);
    s_.treno_attuale = s_.totale_treni;
    Cancella();
    const std::string note = document_.readBeside(path);
    if (!note.empty())
        ui_.showMessage(note, "Dati dell'editor", MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace zeb
