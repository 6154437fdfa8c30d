#pragma once

#include "editor/editor_fixture.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zeb::test {

// An editor on the fixture's station with a regional train and a bus, and a folder for its files.
inline const TrainInput kRegionale{.numero = "231",
                                   .categoria = "Regionale",
                                   .provenienza = "Campolungo",
                                   .destinazione = "Borgo Alto",
                                   .oraa = "06",
                                   .mina = "42",
                                   .orap = "06",
                                   .minp = "44",
                                   .ritardo = "1",
                                   .fermate = "Pieve,Rocca",
                                   .binario = "2"};
inline const TrainInput kAutobus{.numero = "88",
                                 .categoria = "Autobus",
                                 .provenienza = "Borgo Alto",
                                 .oraa = "07",
                                 .mina = "05"};

class FileCommands : public ::testing::Test, protected EditorFixture {
protected:
    FileCommands() {
        // The fixture's station: Valmora, 06:30, tracks 1, 2 and 1tronco.
        insert(kRegionale);
        insert(kAutobus);
    }

    void save(const std::string& path) {
        ui.fileNames = {path};
        editor.salva_Click();
    }

    void open(const std::string& path, std::function<void(StationLogic&)> station = {}) {
        ui.station = std::move(station);
        ui.fileNames = {path};
        editor.carica_scenario_Click();
        editor.Timer1_Timer();
    }

    TempFolder folder;
};

} // namespace zeb::test
