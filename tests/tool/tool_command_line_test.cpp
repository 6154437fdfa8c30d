#include "tool/tool_command_line.h"

#include "companion/editor_data.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace zeb {
namespace {

// The command line's exit status, then what it printed and what it reported, "|" between.
std::string run(const ToolArguments& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runToolCommand(coreCommands(), arguments, out, err);
    return std::to_string(status) + "|" + out.str() + "|" + err.str();
}

// The parser hears every option of every command once, and its help says of each what each
// command that takes it makes of it, naming those commands.
TEST(ToolCommandLine, TheHelpGathersWhatEachCommandSaysOfItsOptions) {
    const std::vector<ToolCommand> commands = coreCommands();
    const std::vector<ToolOption> options = toolOptions(commands);
    for (const ToolCommand& command : commands) {
        for (const ToolOption& own : command.options) {
            SCOPED_TRACE(std::string(command.name) + " --" + own.name);
            const auto heard =
                std::count_if(options.begin(), options.end(),
                              [&](const ToolOption& o) { return o.name == own.name; });
            ASSERT_EQ(heard, 1);
            const ToolOption& option =
                *std::find_if(options.begin(), options.end(),
                              [&](const ToolOption& o) { return o.name == own.name; });
            EXPECT_EQ(option.valueName, own.valueName);
            std::string said = own.description.substr(1, own.description.size() - 2);
            EXPECT_NE(option.description.find(said), std::string::npos) << option.description;
            EXPECT_NE(option.description.find(command.name), std::string::npos);
            EXPECT_TRUE(option.description.ends_with(".")) << option.description;
        }
    }
}

// Each command takes its options from the line, and answers a line that does not fit it with a
// word of use and exit 2, before it reads any file.
TEST(ToolCommandLine, EachCommandReadsItsOwnOptions) {
    test::TempFolder folder;
    const std::string good = folder.file("good.zeb");
    test::writeBytes(good, test::exampleFileBytes());
    const std::string use = " (vedi zebrano-tool --help)\n";
    // 233 comes 4 minutes after 231 on its track: a conflict only where the scenario's own data
    // ask for 5 minutes between trains.
    Scenario close = test::exampleScenario();
    close.treni[1] = close.treni[0];
    close.treni[1].numero = "233";
    close.treni[1].min_arrivo = "48";
    close.treni[1].min_partenza = "50";
    const std::string apart = folder.file("apart.zeb");
    test::writeBytes(apart, scenarioFileBytes(close));
    test::writeBytes(folder.file("data.zeb"), scenarioFileBytes(close));
    test::writeBytes(
        folder.file("data.zeb-editor"),
        R"({"formato":"zebrano-editor","versione":1,"impostazioni":{"separazione":5}})");
    test::writeBytes(folder.file("broken.zeb"), scenarioFileBytes(close));
    test::writeBytes(folder.file("broken.zeb-editor"), "{");
    struct Case {
        ToolArguments arguments;
        std::string expected;
    };
    const std::vector<Case> cases =
    { {{"verifica", good, {}}, "0|0 errori, 0 avvisi\n|"},
      {{"verifica", good, {{"separazione", "1440"}, {"sosta", "0"}}}, "0|0 errori, 0 avvisi\n|"},
      {{"verifica", apart, {}}, "0|0 errori, 0 avvisi\n|"},
      {{"verifica", folder.file("data.zeb"), {}},
       "1|errore: Treni 1 (231) e 2 (233), binario 2: solo 4 minuti tra le occupazioni (dalle "
       "06:44 alle 06:48), ne servono 5\n1 errore, 0 avvisi\n|"},
      {{"verifica", folder.file("data.zeb"), {{"separazione", "3"}}}, "0|0 errori, 0 avvisi\n|"},
      {{"verifica", folder.file("broken.zeb"), {}},
       "0|0 errori, 0 avvisi\n|Il file broken.zeb-editor accanto allo scenario non si può "
       "leggere (riga 1: il file finisce a metà): valgono le impostazioni predefinite. Un "
       "salvataggio dello scenario non lo sovrascrive: lo conserva accanto, come "
       "broken.zeb-editor.non-letto- seguito dalla data.\n"},
      {{"confronta", good, {}}, "2||zebrano-tool: confronta vuole due file" + use},
      {{"confronta", good, {}, {}, good}, "0|I due giorni sono uguali\n|"},
      {{"tabellone", good, {{"ora", "06:40"}, {"arrivi", ""}}},
       "0|06:42 | Regionale | 231 | Campolungo | 2\n07:05 | Autobus | 88 | Borgo Alto | Piazzale "
       "Esterno | Autobus (Piazzale Esterno)\n|"},
      {{"tabellone", good, {{"ora", "06:40"}, {"ritardi", "a volte"}}},
       "2||zebrano-tool: tabellone: --ritardi vuole nessuno, massimo o estratto" + use},
      {{"tabellone", good, {{"ora", "06:40"}, {"righe", "7"}}},
       "2||zebrano-tool: tabellone: --seme vuole un numero intero, --righe 5, 10, 20 o 40, "
       "--orizzonte i minuti" +
           use},
      {{"tabellone", good, {{"ora", "06:40"}, {"output", folder.file("t.txt")}}},
       "2||zebrano-tool: tabellone: -o vuole un file .png o .pdf" + use},
      {{"tabellone", good, {{"ora", "06:40"}, {"output", folder.file("t.png")}}},
       "2||zebrano-tool: tabellone: l'immagine si scrive solo dove il programma disegna" + use},
      {{"tabellone", good, {{"annunci", ""}, {"dalle", "06:00"}}},
       "2||zebrano-tool: tabellone vuole --ora HH:MM (o --annunci --dalle --alle)" + use},
      {{"confronta", good, {{"csv", folder.file("d.csv")}}, {}, apart},
       "1|233 06:48 aggiunto\n88 07:05 tolto\nnessun treno cambiato, 1 tolto, 1 aggiunto\n|"},
      {{"verifica", good, {}, {}, apart}, "2||zebrano-tool: troppi argomenti" + use},
      {{"perturba", good, {{"output", folder.file("x.zeb")}, {"azione", "ferma"}}},
       "2||zebrano-tool perturba: --azione vuole sopprimi, limita, origine, binario o ritardo\n"},
      {{"perturba",
        good,
        {{"output", folder.file("p.zeb")}, {"azione", "binario"}, {"categorie", "Regionale"}}},
       "0|231 06:42: binario 2 → 1\n1 treno cambiato in " + folder.file("p.zeb") + "\n|"},
      {{"confronta", good, {}, {}, folder.file("p.zeb")},
       "1|231 06:42 Binario: 2 → 1\n1 treno cambiato, nessuno tolto, nessuno aggiunto\n|"},
      {{"verifica", good, {{"separazione", "3 minuti"}}},
       "2||zebrano-tool: i minuti devono essere un numero intero da 0 a 1440" + use},
      {{"verifica", good, {{"preparazione", "1441"}}},
       "2||zebrano-tool: i minuti devono essere un numero intero da 0 a 1440" + use},
      {{"assegna", good, {}}, "2||zebrano-tool: assegna vuole -o NUOVO.zeb" + use},
      {{"collega", good, {}}, "2||zebrano-tool: collega vuole -o NUOVO.zeb oppure --elenco" + use},
      {{"assegna", good, {{"output", folder.file("x.zeb")}, {"sosta", "-1"}}},
       "2||zebrano-tool: i minuti devono essere un numero intero da 0 a 1440" + use},
      {{"importa", "treni.csv", {{"output", folder.file("x.zeb")}}},
       "2||zebrano-tool: importa vuole --scenario BASE.zeb e -o NUOVO.zeb" + use},
#if defined(ZEB_WITH_GTFS)
      {{"gtfs", folder.file("feed"), {{"stazione", "VAL"}}},
       "2||zebrano-tool gtfs: servono --stazioni, oppure --stazione, --data, --scenario e -o\n"},
#endif
      {{"occupazione", good, {}}, "2||zebrano-tool: comando sconosciuto" + use},
      {{"verifica", "", {}}, "2||zebrano-tool: servono un comando e un file" + use},
      {{"nuovo", good, {{"stazione", "A"}, {"binari", "1"}, {"output", folder.file("x.zeb")}}},
       "2||zebrano-tool: nuovo non lavora su un file: quello da scrivere va dato con -o" + use},
      {{"nuovo", "", {{"stazione", "A"}, {"output", folder.file("x.zeb")}}},
       "2||zebrano-tool: nuovo vuole --stazione NOME, --binari \"1 2 3 4\" e -o FILE.zeb" + use},
      {{"nuovo", "", {{"stazione", "A"}, {"binari", "1 24"}, {"output", folder.file("x.zeb")}}},
       "2||zebrano-tool nuovo: «24» non è un binario: i binari sono da 1 a 23 e da 1tronco a "
       "3tronco\n"},
      {{"nuovo",
        "",
        {{"stazione", "A"}, {"binari", "1"}, {"inizio", "6.30"}, {"output", folder.file("x.zeb")}}},
       "2||zebrano-tool nuovo: l'ora di inizio «6.30» non è nella forma HH:MM\n"},
    };
    for (const Case& row : cases)
        EXPECT_EQ(run(row.arguments), row.expected) << row.arguments.command;
    EXPECT_EQ(folder.listing().find("x.zeb"), std::string::npos) << "nothing is written";
    EXPECT_EQ(pathOf(loadEditorData(folder.file("p.zeb")).data.baseDay), pathOf(good))
        << "a variant of its file";

    const std::string csv = run({"esporta", good, {}});
    EXPECT_EQ(csv.substr(0, 11), "0|\xEF\xBB\xBFNumero");
}

// A line that asks what the command cannot do is refused by name with exit 2, before anything is
// read or written: another command's option, options that say opposite things, a value out of its
// range, an output that is one of the inputs (also under another name).
TEST(ToolCommandLine, AWrongLineIsRefusedByNameWithExit2) {
    test::TempFolder folder;
    const std::string day = folder.file("day.zeb");
    test::writeBytes(day, test::exampleFileBytes());
    std::filesystem::create_hard_link(pathOf(day), pathOf(folder.file("same.zeb")));
    const std::string same = folder.file("same.zeb");
    const std::string out = folder.file("out.zeb");
    const std::string use = " (vedi zebrano-tool --help)\n";
    const struct {
        ToolArguments arguments;
        std::string said;
    } cases[] = {
        {{"perturba", day, {{"output", out}, {"azione", "sopprimi"}, {"margine", "5"}}},
         ": l'opzione --margine non è del comando perturba" + use},
#if defined(ZEB_WITH_GTFS)
        {{"gtfs", day, {{"collega", ""}, {"non-collegare", ""}}},
         ": --collega e --non-collegare non vanno insieme" + use},
        {{"gtfs", day, {{"autobus", ""}, {"tipi", "0"}}},
         ": --autobus e --tipi non vanno insieme" + use},
#endif
        {{"assegna", day, {{"output", out}, {"margine", "-5"}}},
         " assegna: --margine vuole i minuti da 0 a 120, --tempo-max i secondi da 0 a 600\n"},
        {{"assegna", day, {{"output", out}, {"tempo-max", "-1"}}},
         " assegna: --margine vuole i minuti da 0 a 120, --tempo-max i secondi da 0 a 600\n"},
        {{"perturba", day, {{"output", out}, {"azione", "ritardo"}, {"ritardi", "0,0,0"}}},
         " perturba: le percentuali di --ritardi fanno 0, non 100\n"},
        {{"perturba", day, {{"output", out}, {"azione", "sopprimi"}, {"ritardi", "100"}}},
         " perturba: --ritardi vale solo con --azione ritardo\n"},
#if defined(ZEB_WITH_GTFS)
        {{"gtfs", day, {{"stazione", "X"}, {"data", "2024-02-30"}}},
         " gtfs: la data «2024-02-30» non esiste nel calendario\n"},
#endif
        {{"esporta", day, {{"output", day}}},
         ": il file da scrivere " + quotedBriefly(day) +
             " è anche uno di quelli che il comando legge: va scritto in un altro" + use},
        {{"perturba", day, {{"output", same}, {"azione", "sopprimi"}}},
         ": il file da scrivere " + quotedBriefly(same) + " è lo stesso file di " +
             quotedBriefly(day) + ", uno di quelli che il comando legge: va scritto in un altro" +
             use},
        {{"confronta", day, {{"csv", same}}, {}, out},
         ": il file da scrivere " + quotedBriefly(same) + " è lo stesso file di " +
             quotedBriefly(day) + ", uno di quelli che il comando legge: va scritto in un altro" +
             use},
    };
    for (const auto& row : cases)
        EXPECT_EQ(run(row.arguments), "2||zebrano-tool" + row.said) << row.arguments.command;
    EXPECT_EQ(folder.listing(), "day.zeb\nsame.zeb\n") << "nothing is written";
    EXPECT_EQ(test::readBytes(day), test::exampleFileBytes());
}

// A new scenario written over an old one takes the place of its editor's data too.
TEST(ToolCommandLine, ANewScenarioReplacesTheOldOnesData) {
    test::TempFolder folder;
    const std::string path = folder.file("valmora.zeb");
    writeScenarioPair(path, test::exampleFileBytes(),
                      {.links = {{{"231", "Campolungo", "06:42"}, {"88", "", ""}}}});
    EXPECT_EQ(run({"nuovo", "", {{"stazione", "V"}, {"binari", "1"}, {"output", path}}})[0], '0');
    const EditorDataRead read = loadEditorData(path);
    EXPECT_EQ(read.data, EditorData());
    EXPECT_FALSE(read.note);
}

// "nuovo" makes the empty scenario of a station, which the editor opens as it would its own.
TEST(ToolCommandLine, NuovoMakesAnEmptyStation) {
    test::TempFolder folder;
    const std::string path = folder.file("valmora.zeb");
    EXPECT_EQ(run({"nuovo",
                   "",
                   {{"stazione", "Valmora"},
                    {"binari", "2, 1 1tronco"},
                    {"inizio", "6:30"},
                    {"output", path}}}),
              "0|Stazione Valmora con 3 binari, inizio alle 06:30, in " + path + "\n|");
    Scenario s;
    s.nome_file_carica = path;
    Funzione_Carica(s);
    EXPECT_EQ(s.nome_stazione + " " + s.ora_inizio + ":" + s.min_inizio, "Valmora 06:30");
    EXPECT_EQ(stationTrackNames(s), (std::vector<std::string>{"1", "2", "1tronco"}));
    EXPECT_EQ(s.totale_treni, 0);
}

// The boards as CSV carry exactly the window's columns, and what the loudspeakers say over a span.
TEST(ToolCommandLine, TabelloneWritesItsRowsAsCsv) {
    test::TempFolder folder;
    const std::string day = folder.file("day.zeb"), csv = folder.file("annunci.csv");
    test::writeBytes(day, test::exampleFileBytes());
    const ToolArguments arguments{
        "tabellone", day, {{"annunci", ""}, {"dalle", "06:30"}, {"alle", "06:45"}, {"csv", csv}}};
    std::ostringstream out, err;
    ASSERT_EQ(runToolCommand(coreCommands(), arguments, out, err), 0) << err.str();
    EXPECT_EQ(test::readBytes(csv),
              "\xEF\xBB\xBFMinuto;Treno;Tipo;Testo\r\n"
              "06:37;231;arrivo;Il treno Regionale 231 proveniente da Campolungo delle ore 06:42 è "
              "in arrivo al binario 2.\r\n"
              "06:39;231;partenza;Il treno Regionale 231 per Borgo Alto delle ore 06:44 è in "
              "partenza dal binario 2. Ferma a Pieve, Rocca.\r\n");
}

// Each command's own help lists its options and ends with an example of it that uses only
// options it takes; a command there is not has none.
TEST(ToolCommandLine, EachCommandHasItsOwnHelpWithAnExample) {
    const std::vector<ToolCommand> commands = coreCommands();
    for (const ToolCommand& command : commands) {
        SCOPED_TRACE(command.name);
        const auto help = commandHelp(commands, command.name);
        ASSERT_TRUE(help.has_value());
        for (const ToolOption& option : command.options)
            EXPECT_NE(help->find("--" + option.name + " "), std::string::npos) << option.name;
        const auto example = help->find("Esempio:\n  zebrano-tool " + std::string(command.name));
        ASSERT_NE(example, std::string::npos);
        std::istringstream words(help->substr(example));
        for (std::string word; words >> word;) {
            if (!word.starts_with("--"))
                continue;
            EXPECT_TRUE(std::any_of(command.options.begin(), command.options.end(),
                                    [&](const ToolOption& o) { return "--" + o.name == word; }))
                << word;
        }
    }
    EXPECT_FALSE(commandHelp(commands, "nessuno").has_value());
}

} // namespace
} // namespace zeb
