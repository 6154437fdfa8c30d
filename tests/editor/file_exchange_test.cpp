#include "editor/editor_fixture.h"
#include "editor/file_commands_fixture.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zeb {
namespace {

using test::choose;
using test::FileCommands;
using test::kAutobus;
using test::kRegionale;

// An import's units are linked among the trains where they land, and the tracks chosen in the
// same step put each unit on one.
TEST_F(FileCommands, AnImportsUnitsAreLinkedWhereTheyLand) {
    Treno ending = s.treni[0];
    ending.destinazione.clear();
    ending.binario.clear();
    Treno starting = s.treni[0];
    starting.provenienza.clear();
    starting.ora_partenza = "07";
    starting.min_partenza = "10";
    starting.binario.clear();
    commands.importGtfs("2024-03-06", {ending, starting}, nullptr, CheckSettings{},
                        PresentTrains::AddAll, {{0, 1}});
    EXPECT_EQ(editor.document().links(), (TrainLinks{{2, 3}}));
    EXPECT_FALSE(s.treni[2].binario.empty());
    EXPECT_EQ(s.treni[2].binario, s.treni[3].binario);
    commands.undo();
    EXPECT_TRUE(editor.document().links().empty());
}

TEST_F(FileCommands, AFailedLoadLeavesEverythingAsItWas) {
    ui.answers = {Answer::Yes};
    editor.chiudi_Click();
    const Scenario before = s;
    std::string broken = test::exampleFileBytes();
    broken.replace(broken.find("Arrivo = 07.05"), 14, "Arrivo = 0705");
    test::writeBytes(folder.file("broken.zeb"), broken);

    open(folder.file("broken.zeb"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text.rfind("1003 Riga 26: l'orario \"0705\"", 0), 0u)
        << ui.messages[1].text;
    EXPECT_EQ(ui.stationOpenings, 1) << "the station dialog is not shown";
    EXPECT_EQ(test::summary(s), test::summary(before));
    EXPECT_EQ(s.treni, before.treni);
    EXPECT_EQ(states(), test::kNoScenario);

    // A NUL byte in a value does not cut the message short.
    broken = test::exampleFileBytes();
    broken.replace(broken.find("Regionale"), 9, std::string("Regio\0nale", 10));
    test::writeBytes(folder.file("zero.zeb"), broken);
    open(folder.file("zero.zeb"));
    EXPECT_EQ(ui.messages.back().text,
              "1008 Riga 11: la categoria \"Regio\uFFFDnale\" non è tra i valori dell'elenco");
}

TEST_F(FileCommands, TrainsGoToACsvFileAndComeBackAppended) {
    ui.fileNames = {folder.file("treni")};
    commands.exportCsv();
    EXPECT_EQ(ui.filters.back().pattern + " " + ui.filters.back().suggestedName,
              "*.csv Valmora - treni.csv");
    ui.fileNames = {folder.file("treni.csv")};
    commands.importCsv();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(std::to_string(s.totale_treni) + "|" + editor.numerotrenit.text, "4|4");
    EXPECT_EQ(states(), test::kCovered);
    EXPECT_EQ(test::trainSummary(s.treni[2]), test::trainSummary(s.treni[0]));

    test::writeBytes(folder.file("bad.csv"), "Numero;Partenza;Destinazione\n1;25:10;X\n");
    ui.fileNames = {folder.file("bad.csv")};
    commands.importCsv();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(),
              "Importazione da CSV: Nessun treno è stato importato:\r\nRiga 2, Partenza: «25:10» "
              "non è un orario valido [3 0]");
    EXPECT_EQ(s.totale_treni, 4);

    // A long file shows its progress, and Annulla there imports nothing and says nothing.
    test::writeBytes(folder.file("long.csv"), "Numero\n" + std::string(3 << 19, '\n') + "5\n");
    ui.fileNames = {folder.file("long.csv")};
    ui.cancelProgressAt = 1;
    commands.importCsv();
    EXPECT_EQ(s.totale_treni, 4);
    EXPECT_EQ(ui.messages.size(), 1u);

    editor.nuovotreno_Click(); // not while a new train is entered
    ui.fileNames = {folder.file("treni.csv")};
    commands.importCsv();
    EXPECT_EQ(s.totale_treni, 4);
}

} // namespace
} // namespace zeb
