#include "editor/editor_fixture.h"
#include "editor/file_commands_fixture.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"

#if !defined(_WIN32)
#include "companion/kill_harness.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>

namespace zeb {
namespace {

using test::choose;
using test::EditorFixture;
using test::FileCommands;
using test::kAutobus;
using test::kRegionale;

TEST_F(FileCommands, TheTwoExampleTrainsSaveAsTheReferenceFileAndCover) {
    back();                       // a train is shown
    save(folder.file("valmora")); // typed without its extension: APRI SCENARIO finds it again
    EXPECT_EQ(ui.filters.at(0).description + ui.filters.at(0).pattern + " ." +
                  ui.filters.at(0).extension,
              "File Scenario di ZEB (*.zeb) *.zeb .zeb");
    EXPECT_EQ(test::readBytes(folder.file("valmora.zeb")), test::exampleFileBytes());
    EXPECT_EQ(s.nome_file, folder.file("valmora.zeb"));
    EXPECT_EQ(folder.listing().find("valmora\n"), std::string::npos);
    EXPECT_EQ(s.treni[0].tipologia + s.treni[1].tipologia, "21") << "the type codes as written";
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(s.treno_attuale, 2);
    EXPECT_EQ(states(), test::kCovered);
}

TEST_F(FileCommands, AFailedSaveShowsTheErrorAndKeepsFileAndControls) {
    test::writeBytes(folder.file("old.zeb"), "old");
    back();
    s.treni[1].note = "Ωmega";
    save(folder.file("old.zeb"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(),
              ": 1011 Il treno 2 (numero \"88\"): il campo \"Note al treno\" contiene un carattere "
              "che non si può scrivere nel file (codifica Windows-1252) [0 0]");
    EXPECT_EQ(test::readBytes(folder.file("old.zeb")), "old");
    EXPECT_EQ(states(), "00111 00111110") << "the controls stay as they were";
    EXPECT_EQ(s.treno_attuale, 1);
    EXPECT_EQ(editor.document().file(), std::nullopt) << "no file was written, none is named";
}

// A save under a new name that fails leaves the scenario the file it had, for SALVA and for the
// check of changes made elsewhere.
TEST_F(FileCommands, AFailedSaveAsKeepsTheFileTheScenarioHad) {
    save(folder.file("first.zeb"));
    s.treni[1].note = "Ωmega";
    save(folder.file("second.zeb"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(editor.document().file(), folder.file("first.zeb"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("second.zeb")));
}

TEST_F(FileCommands, OpeningAFileReadsItAndShowsTheStationForACheck) {
    save(folder.file("a.zeb"));
    ui.answers = {Answer::Yes};
    editor.chiudi_Click();

    std::string stationSeen;
    open(folder.file("a.zeb"), [&](StationLogic& dialog) {
        stationSeen = dialog.textstazione.text + " " + dialog.nbinari.text;
    });
    EXPECT_EQ(ui.filters.back().description, "File Zebrano (*.zeb) ");
    EXPECT_EQ(stationSeen, "Valmora 3");
    EXPECT_EQ(std::to_string(s.treno_attuale) + "|" + editor.numerotrenit.text, "2|2");
    EXPECT_EQ(editor.binario.entries, (std::vector<std::string>{"1", "2", "1tronco"}));
    EXPECT_EQ(states(), test::kCovered);
    EXPECT_EQ(editor.numero.text, "");
}

// The editor's data go beside the scenario with every save and come back with it; a file of them
// that cannot be read is said, costs nothing else, and stays as it is until the next save.
TEST_F(FileCommands, TheEditorsDataTravelBesideTheScenario) {
    const CheckSettings minutes{.separation = 5, .turnaround = 8, .preparation = 12};
    editor.document().setCheckSettings(minutes);
    EXPECT_TRUE(editor.hasUnsavedChanges());
    save(folder.file("a.zeb"));
    EXPECT_EQ(test::readBytes(folder.file("a.zeb")), test::exampleFileBytes()) << "byte for byte";
    ui.answers = {Answer::Yes};
    editor.chiudi_Click();
    EXPECT_EQ(editor.document().data(), EditorData()) << "a closed scenario takes its data along";

    ui.messages.clear();
    open(folder.file("a.zeb"));
    EXPECT_EQ(editor.document().data().settings, minutes);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(editor.hasUnsavedChanges());

    ui.answers = {Answer::Yes};
    editor.chiudi_Click();
    test::writeBytes(folder.file("a.zeb-editor"),
                     R"({"formato": "zebrano-editor", "versione": 9})");
    ui.messages.clear();
    open(folder.file("a.zeb"));
    EXPECT_EQ(editor.document().data(), EditorData());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].described().find("versione più recente dell'editor (9)"),
              std::string::npos);
    EXPECT_EQ(s.totale_treni, 2) << "the scenario opens whole";
    EXPECT_NE(test::readBytes(folder.file("a.zeb-editor")).find("9"), std::string::npos);
    save(folder.file("a.zeb"));
    EXPECT_EQ(loadEditorData(folder.file("a.zeb")).data, EditorData()) << "written on saving";
    const std::string listing = folder.listing();
    const auto aside = listing.find("a.zeb-editor.non-letto-");
    ASSERT_NE(aside, std::string::npos) << "the newer editor's file is kept";
    EXPECT_EQ(
        test::readBytes(folder.file(listing.substr(aside, listing.find('\n', aside) - aside))),
        R"({"formato": "zebrano-editor", "versione": 9})");
}

// A file another program changed since it was read is never written over unasked: SALVA asks
// whether to overwrite it, read it again or do nothing, and coming back to the editor offers once
// to read it again.
TEST_F(FileCommands, AFileChangedByAnotherProgramIsNeverOverwrittenUnasked) {
    const std::string day = folder.file("day.zeb");
    save(day);
    Scenario elsewhere = test::exampleScenario();
    elsewhere.totale_treni = 1; // the other program deleted the bus
    const std::string theirs = scenarioFileBytes(elsewhere);
    auto changeOnDisk = [&] { test::writeBytes(day, theirs); };
    const std::string question = "day.zeb: Il file è stato modificato da un altro programma: "
                                 "sovrascrivere, ricaricare o annullare? [3 4]";

    commands.checkFileOnDisk();
    save(day);
    EXPECT_TRUE(ui.messages.empty()) << "nothing changed elsewhere: nothing asked";

    changeOnDisk();
    ui.answers = {Answer::Cancel};
    save(day);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(), question);
    EXPECT_EQ(test::readBytes(day), theirs) << "Annulla keeps their file";

    ui.answers = {Answer::Overwrite};
    save(day);
    EXPECT_EQ(test::readBytes(day), test::exampleFileBytes()) << "Sovrascrivi writes ours";
    EXPECT_EQ(ui.messages.size(), 2u);

    changeOnDisk();
    ui.answers = {Answer::Reload};
    save(day);
    EXPECT_EQ(test::readBytes(day), theirs);
    EXPECT_EQ(s.totale_treni, 1) << "Ricarica reads their file";
    EXPECT_FALSE(editor.hasUnsavedChanges());

    ui.messages.clear();
    commands.checkFileOnDisk();
    EXPECT_TRUE(ui.messages.empty()) << "read again: the same as on disk";
    test::writeBytes(folder.file("day.zeb-editor"), "{}");
    commands.checkFileOnDisk(); // answered No
    commands.checkFileOnDisk();
    ASSERT_EQ(ui.messages.size(), 1u) << "offered once for each change made elsewhere";
    EXPECT_EQ(ui.messages[0].text,
              "Il file day.zeb è stato modificato da un altro programma. Ricaricarlo?");
    changeOnDisk();
    test::writeBytes(day, test::exampleFileBytes());
    ui.answers = {Answer::Yes};
    commands.checkFileOnDisk();
    EXPECT_EQ(s.totale_treni, 2) << "Yes reads the file again";
}

#if !defined(_WIN32) // processes forked and killed
// SALVA killed at any moment leaves the old pair, the new one, or a pair that says it is split.
TEST_F(FileCommands, AKilledSaveNeverSplitsThePairSilently) {
    const std::string day = folder.file("day.zeb");
    save(day);
    auto roundOf = [](const std::string& bytes) {
        const auto note = bytes.find("Note al treno = giro ");
        return note == std::string::npos ? -1 : std::stoi(bytes.substr(note + 21));
    };
    const int broken = test::killWhileWriting(
        1000,
        [&](long round) {
            s.treni[0].note = "giro " + std::to_string(round % 1000);
            editor.document().setCheckSettings({.separation = static_cast<int>(round % 1000)});
            save(day);
        },
        [&] {
            return test::pairHolds(day, [&](const std::string& bytes, const EditorData& data) {
                return roundOf(bytes) < 0 || roundOf(bytes) == data.settings.separation;
            });
        });
    EXPECT_EQ(broken, 0);
}
#endif

// A variant is the scenario under a new name that remembers the file it was made from; a new
// scenario has none yet, and the base day's own file is no variant of itself.
TEST_F(FileCommands, AVariantRemembersItsBaseDay) {
    ui.fileNames = {folder.file("x.zeb")};
    commands.saveVariantAs();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(),
              "Salva variante: Lo scenario non ha ancora un file: salvarlo prima come giorno "
              "base, poi farne la variante. [3 0]");
    EXPECT_EQ(folder.listing(), "");

    save(folder.file("normale.zeb"));
    ui.messages.clear();
    ui.fileNames = {folder.file("normale.zeb")};
    commands.saveVariantAs();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(pathOf(ui.filters.back().suggestedName),
              pathOf(folder.file("normale - variante.zeb")));
    EXPECT_EQ(editor.document().data().baseDay, "");

    s.treni[0].binario = "1";
    ui.fileNames = {folder.file("sciopero")};
    commands.saveVariantAs();
    EXPECT_EQ(s.nome_file, folder.file("sciopero.zeb"));
    EXPECT_EQ(editor.document().file(), folder.file("sciopero.zeb"));
    EXPECT_FALSE(editor.hasUnsavedChanges());
    EXPECT_EQ(test::readBytes(folder.file("normale.zeb")), test::exampleFileBytes())
        << "the base day stays as it was saved";
    EXPECT_EQ(pathOf(loadEditorData(folder.file("sciopero.zeb")).data.baseDay),
              pathOf(folder.file("normale.zeb")));

    // SALVA starts at the variant's own file; onto its base day's file it asks first.
    ui.messages.clear();
    save(folder.file("normale.zeb")); // answered No
    EXPECT_EQ(ui.filters.back().suggestedName, folder.file("sciopero.zeb"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(),
              "Salva variante: Il file normale.zeb è il giorno base di questa variante: "
              "sovrascriverlo con la variante? Il giorno base andrebbe perso. [3 3]");
    EXPECT_EQ(test::readBytes(folder.file("normale.zeb")), test::exampleFileBytes());
    ui.answers = {Answer::Yes};
    save(folder.file("normale.zeb"));
    EXPECT_NE(test::readBytes(folder.file("normale.zeb")), test::exampleFileBytes());
    EXPECT_EQ(loadEditorData(folder.file("normale.zeb")).data.baseDay, "")
        << "no day is its own base";
}

// A link is a step of the history and goes beside the scenario; one whose trains the scenario
// no longer has is said on opening and left out, and the file stays as it is until a save.
TEST_F(FileCommands, LinksTravelBesideTheScenario) {
    insert({.numero = "89",
            .categoria = "Autobus",
            .destinazione = "Borgo Alto",
            .orap = "07",
            .minp = "30"});
    editor.document().setLinks({{1, 2}}, "collegamento 88→89");
    EXPECT_EQ(commands.undoLabel(), "collegamento 88→89");
    EXPECT_TRUE(editor.hasUnsavedChanges());
    save(folder.file("a.zeb"));
    ui.answers = {Answer::Yes};
    editor.chiudi_Click();
    EXPECT_TRUE(editor.document().links().empty());

    open(folder.file("a.zeb"));
    EXPECT_EQ(editor.document().links(), (TrainLinks{{1, 2}}));
    ui.answers = {Answer::No}; // a shift that would break the unit asks first
    editor.document().shiftTimes({2}, -30);
    EXPECT_EQ(ui.messages.back().text,
              "Lo spostamento separa 1 treno collegato (88→89): spostare comunque?");
    EXPECT_EQ(s.treni[2].min_partenza, "30");
    ui.answers = {Answer::Yes};
    editor.document().removeTrains({2});
    EXPECT_NE(ui.messages.back().text.find(", e con loro 1 collegamento (88→89)?"),
              std::string::npos);
    EXPECT_TRUE(editor.document().links().empty()) << "a link goes with its train";
    commands.undo();
    EXPECT_EQ(editor.document().links(), (TrainLinks{{1, 2}}));

    ui.answers = {Answer::Yes};
    editor.chiudi_Click();
    std::string companion = test::readBytes(folder.file("a.zeb-editor"));
    companion.replace(companion.find("\"89\""), 4, "\"90\"");
    test::writeBytes(folder.file("a.zeb-editor"), companion);
    ui.messages.clear();
    open(folder.file("a.zeb"));
    EXPECT_TRUE(editor.document().links().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(),
              "Dati dell'editor: Del file a.zeb-editor un collegamento nomina treni che lo "
              "scenario non ha, o li nomina due volte: è ignorato. Il file resta com'è finché non "
              "si salva. [3 0]");
    EXPECT_EQ(test::readBytes(folder.file("a.zeb-editor")), companion);
}

} // namespace
} // namespace zeb
