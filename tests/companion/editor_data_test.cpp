#include "companion/editor_data.h"

#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zeb {
namespace {

TEST(EditorData, WhatIsWrittenReadsBackTheSame) {
    const EditorData data{
        {.separation = 4, .turnaround = 7, .preparation = 12, .riskThreshold = 35},
        "../Valmora.zeb",
        "2024-02-29",
        {{{"2001", "Nordia", "10:00"}, {"2002", "Nordia", "10:20"}},
         {{"7", "", ""}, {"8", "Sudia", "23:59"}}},
        {{"Suburbano", "*", "Città", RulePassage::Ends, 420, 30, {"4"}, {"5"}},
         {"", "", "", RulePassage::Any, -1, -1, {}, {"1tronco"}}},
        3,
        0,
        {.delays = 2, .seed = 7, .rows = 20, .horizon = 90}};
    const EditorDataRead read = readEditorData(editorDataText(data));
    EXPECT_EQ(read.data, data);
    EXPECT_FALSE(read.note);
    EXPECT_EQ(editorDataText(read.data), editorDataText(data));
}

// A file that cannot be read costs nothing but what it held: the defaults stand, and the note
// says why.
TEST(EditorData, WhatCannotBeReadKeepsTheDefaultsWithANote) {
    const CheckSettings defaults;
    const struct {
        const char* text;
        int separation;
        const char* note; // "" for none
    } cases[] = {
        {R"({"formato":"zebrano-editor","versione":1,"impostazioni":{"separazione":5},"altro":1})",
         5, ""},
        {R"({"formato":"zebrano-editor","versione":1})", defaults.separation, ""},
        {R"({"formato":"zebrano-editor","versione":1,"impostazioni":{"separazione":-1,)"
         R"("sosta":"10"}})",
         defaults.separation,
         "i minuti di separazione, sosta non sono un numero intero da 0 a 1440: valgono quelli "
         "predefiniti"},
        {R"({"formato":"zebrano-editor","versione":2,"impostazioni":{"separazione":5}})",
         defaults.separation,
         "è di una versione più recente dell'editor (2), che questa non sa leggere"},
        {R"({"formato":"zebrano-editor","impostazioni":{"separazione":5}})", defaults.separation,
         "manca il numero di versione"},
        {"{\"formato\":\"zebrano-editor\",\n\"versione\":1,\"impostazi", defaults.separation,
         "riga 2: il file finisce a metà"},
        {"{\"formato\":\"zebrano-editor\",\"versione\":1,\n\"altro\":\n[1,\n1e400]}",
         defaults.separation, "riga 4: numero troppo grande"},
        {"{\"formato\":\"zebrano-editor\",\"versione\":1,\"note\":\"\xE8\"}", defaults.separation,
         "riga 1: un byte che non è UTF-8"},
        {"{\"formato\":\"zebrano-editor\" \"versione\":1}", defaults.separation,
         "riga 1: testo che non è JSON"},
        {R"({"formato":"zebrano-editor","versione":1,"giornoBase":7,)"
         R"("impostazioni":{"separazione":"5"}})",
         defaults.separation,
         "i minuti di separazione non sono un numero intero da 0 a 1440: valgono quelli "
         "predefiniti; il giorno base non è il nome di un file"},
        {R"({"formato":"zebrano-editor","versione":1,"giornoDiServizio":"2023-02-29"})",
         defaults.separation, "il giorno di servizio non è una data"},
        {R"({"formato":"zebrano-editor","versione":1,"collegamenti":[["1","A","10:00"],)"
         R"(3,["","A","10:00","2","A","10:30"],["1","A","10:00","2","A","10:30"]]})",
         defaults.separation, "3 collegamenti non si leggono"},
        {R"({"formato":"zebrano-editor","versione":1,"collegamenti":{}})", defaults.separation,
         "i collegamenti non sono un elenco"},
        {R"({"formato":"zebrano-editor","versione":1,"regoleBinari":[{"tipo":"sosta",)"
         R"("preferiti":["1"]},{"preferiti":[]},{"preferiti":["1"]},7],)"
         R"("assegnazione":{"margine":-1}})",
         defaults.separation, "3 regole dei binari non si leggono"},
        {"[1, 2]", defaults.separation, "non è un file di dati dell'editor"},
        {R"({"formato":{"separazione":-1},"versione":1})", defaults.separation,
         "non è un file di dati dell'editor"},
        {"\xFF\xFE", defaults.separation, "riga 1: un byte che non è UTF-8"},
        {R"({"formato":"zebrano-editor","versione":1,"impostazioni":{"sogliaRischio":0}})",
         defaults.separation, "la soglia di rischio non è un numero intero da 1 a 100: vale 50"},
    };
    for (const auto& c : cases) {
        const EditorDataRead read = readEditorData(c.text);
        EXPECT_EQ(read.data.settings.separation, c.separation) << c.text;
        EXPECT_EQ(read.note.value_or(""), c.note) << c.text;
        EXPECT_EQ(read.unread, *c.note != '\0') << c.text;
    }
}

TEST(EditorData, TheCompanionFileBesideTheScenario) {
    test::TempFolder folder;
    const std::string scenario = folder.file("Valmora.zeb");
    EXPECT_EQ(companionPathOf(scenario), folder.file("Valmora.zeb-editor"));
    EXPECT_FALSE(loadEditorData(scenario).note) << "none is no fault";
    const EditorData data{{.separation = 2, .turnaround = 10, .preparation = 10}};
    writeScenarioPair(scenario, "scenario", data);
    EXPECT_EQ(loadEditorData(scenario).data, data);
    test::writeBytes(folder.file("Valmora.zeb-editor"), "Binario 1");
    const EditorDataRead broken = loadEditorData(scenario);
    EXPECT_EQ(broken.data, EditorData());
    EXPECT_EQ(broken.note.value_or(""),
              "Il file Valmora.zeb-editor accanto allo scenario non si può leggere (riga 1: "
              "testo che non è JSON): valgono le impostazioni predefinite. Un salvataggio dello "
              "scenario non lo sovrascrive: lo conserva accanto, come "
              "Valmora.zeb-editor.non-letto- seguito dalla data.");
    EXPECT_EQ(test::readBytes(folder.file("Valmora.zeb-editor")), "Binario 1");
}

// The base day is named from the variant's folder, so that the two can move together.
TEST(EditorData, TheBaseDayIsKeptRelativeToTheVariant) {
    test::TempFolder folder;
    const std::string variant = folder.file("varianti/Sciopero.zeb");
    std::filesystem::create_directories(folder.file("varianti"));
    writeScenarioPair(variant, "scenario", {.baseDay = folder.file("Valmora.zeb")});
    EXPECT_NE(test::readBytes(companionPathOf(variant)).find(R"("giornoBase": "../Valmora.zeb")"),
              std::string::npos);
    EXPECT_EQ(std::filesystem::path(loadEditorData(variant).data.baseDay),
              std::filesystem::path(folder.file("Valmora.zeb")).lexically_normal());
}

} // namespace
} // namespace zeb
