#include "tool/assign_command.h"
#include "tool/gtfs_command.h"
#include "tool/tool_commands.h"
#include "views/paper_commands.h"

#include <QCommandLineParser>
#include <QDate>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <iostream>

namespace {

// A whole number of minutes from an option, or -1 when it is not one.
int minutesOption(const QCommandLineParser& parser, const QString& name, int fallback) {
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    return ok && value >= 0 && value <= 1440 ? value : -1;
}

} // namespace

int main(int argc, char* argv[]) {
    // The paper is drawn without a screen where none is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("zebrano-tool");
    QCoreApplication::setApplicationVersion("1.0");
    QTranslator qtItalian; // "Uso", "Opzioni" and the other texts of the parser
    if (qtItalian.load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtItalian);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Strumenti per gli scenari di Zebrano.\n\n"
        "  verifica FILE.zeb                            controlla l'orario\n"
        "  esporta FILE.zeb [-o FILE.csv]               i treni in CSV\n"
        "  importa FILE.csv --scenario BASE.zeb -o NUOVO.zeb\n"
        "                                               i treni del CSV aggiunti a BASE\n"
        "  gtfs FEED --stazioni [--data AAAA-MM-GG]     le stazioni del feed, le più trafficate "
        "prima\n"
        "  gtfs FEED --stazione ID_O_NOME --data AAAA-MM-GG [--dalle HH:MM] [--alle HH:MM]\n"
        "       [--autobus] --scenario BASE.zeb -o NUOVO.zeb\n"
        "                                               i treni di quel giorno aggiunti a BASE\n"
        "  assegna FILE.zeb -o NUOVO.zeb [--treni senza-binario|conflitti|tutti] [--binari 1,2,5]\n"
        "                                               i binari scelti per i treni\n"
        "  occupazione FILE.zeb -o GRAFICO.pdf|.png [--ore 4] [--formato A4|A3]\n"
        "                                               il grafico di occupazione dei binari\n"
        "  manifesti FILE.zeb --partenze|--arrivi -o MANIFESTO.pdf\n"
        "                                               il manifesto delle partenze o degli "
        "arrivi\n\n"
        "Uscita: 0 senza errori; 1 con errori nell'orario o nel CSV, se nessun treno del feed\n"
        "ferma o i treni non ci stanno, o se restano conflitti dopo l'assegnazione; 2 se un\n"
        "file non si può leggere o scrivere o un argomento è sbagliato.");
    // Our own help and version options: Qt's own describe themselves in English.
    parser.addOptions({
        {{"h", "help"}, "Mostra questo aiuto."},
        {{"v", "version"}, "Mostra la versione del programma."},
    });
    parser.addPositionalArgument(
        "comando", "verifica, esporta, importa, gtfs, assegna, occupazione o manifesti");
    parser.addPositionalArgument("file", "il file su cui lavorare");
    parser.addOptions({
        {{"o", "output"}, "Il file da scrivere.", "file"},
        {"scenario", "Lo scenario a cui aggiungere i treni (importa).", "file"},
        {"separazione", "Minuti minimi tra due treni su un binario (predefinito 3).", "minuti"},
        {"sosta", "Minuti di binario occupato dopo l'arrivo di un treno che termina (10).",
         "minuti"},
        {"preparazione", "Minuti di binario occupato prima della partenza (10).", "minuti"},
        {"stazioni", "Elenca le stazioni del feed con i loro treni (gtfs)."},
        {"stazione", "La stazione da importare: il suo stop_id o il suo nome (gtfs).", "stazione"},
        {"data", "Il giorno da importare (gtfs; predefinito il più trafficato da oggi).",
         "AAAA-MM-GG"},
        {"dalle", "Solo i treni da quest'ora (gtfs).", "HH:MM"},
        {"alle", "Solo i treni fino a quest'ora (gtfs).", "HH:MM"},
        {"autobus", "Anche gli autobus e gli altri servizi non ferroviari (gtfs)."},
        {"treni", "Quali treni: senza-binario, conflitti o tutti (assegna).", "quali"},
        {"binari", "I binari da usare, separati da virgole (assegna; predefiniti tutti).",
         "binari"},
        {"ore", "Le ore del giorno in ogni pagina (occupazione; predefinite 4).", "ore"},
        {"formato", "Il formato della carta, A4 o A3 (occupazione; predefinito A4).", "formato"},
        {"partenze", "Il manifesto delle partenze (manifesti)."},
        {"arrivi", "Il manifesto degli arrivi (manifesti)."},
    });
    parser.process(app);
    if (parser.isSet("help")) {
        std::cout << parser.helpText().toStdString();
        return zeb::kExitOk;
    }
    if (parser.isSet("version")) {
        std::cout << "zebrano-tool " << QCoreApplication::applicationVersion().toStdString()
                  << "\n";
        return zeb::kExitOk;
    }

    const QStringList args = parser.positionalArguments();
    auto usage = [&](const char* what) {
        std::cerr << "zebrano-tool: " << what << " (vedi zebrano-tool --help)\n";
        return zeb::kExitUnreadable;
    };
    if (args.size() != 2)
        return usage("servono un comando e un file");
    const std::string command = args[0].toStdString();
    const std::string file = args[1].toStdString();
    const auto output =
        parser.isSet("output") ? std::optional(parser.value("output").toStdString()) : std::nullopt;

    const zeb::CheckSettings defaults;
    const zeb::CheckSettings settings{
        .separation = minutesOption(parser, "separazione", defaults.separation),
        .turnaround = minutesOption(parser, "sosta", defaults.turnaround),
        .preparation = minutesOption(parser, "preparazione", defaults.preparation)};
    if (settings.separation < 0 || settings.turnaround < 0 || settings.preparation < 0)
        return usage("i minuti devono essere un numero intero da 0 a 1440");
    auto optional = [&](const char* name) {
        return parser.isSet(name) ? std::optional(parser.value(name).toStdString()) : std::nullopt;
    };
    if (command == "verifica")
        return zeb::verificaCommand(file, settings, std::cout, std::cerr);
    if (command == "assegna") {
        if (!output)
            return usage("assegna vuole -o NUOVO.zeb");
        return zeb::assegnaCommand(file, *output, optional("treni"), optional("binari"), settings,
                                   std::cout, std::cerr);
    }
    if (command == "esporta")
        return zeb::esportaCommand(file, output, std::cout, std::cerr);
    if (command == "importa") {
        if (!parser.isSet("scenario") || !output)
            return usage("importa vuole --scenario BASE.zeb e -o NUOVO.zeb");
        return zeb::importaCommand(file, parser.value("scenario").toStdString(), *output, std::cout,
                                   std::cerr);
    }
    if (command == "occupazione") {
        if (!output)
            return usage("occupazione vuole -o GRAFICO.pdf o -o GRAFICO.png");
        bool ok = true;
        const int hours = parser.isSet("ore") ? parser.value("ore").toInt(&ok) : 4;
        return zeb::occupazioneCommand(file, *output, ok ? hours : 0,
                                       optional("formato").value_or("A4"), std::cout, std::cerr);
    }
    if (command == "manifesti") {
        if (!output || parser.isSet("partenze") == parser.isSet("arrivi"))
            return usage("manifesti vuole --partenze o --arrivi, e -o MANIFESTO.pdf");
        return zeb::manifestiCommand(file, parser.isSet("partenze"), *output, std::cout, std::cerr);
    }
    if (command == "gtfs") {
        const zeb::GtfsToolRequest request{.feed = file,
                                           .listStations = parser.isSet("stazioni"),
                                           .date = optional("data"),
                                           .station = optional("stazione"),
                                           .from = optional("dalle"),
                                           .to = optional("alle"),
                                           .buses = parser.isSet("autobus"),
                                           .base = optional("scenario"),
                                           .output = output};
        const QDate today = QDate::currentDate();
        const date::sys_days day{date::year{today.year()} / static_cast<unsigned>(today.month()) /
                                 static_cast<unsigned>(today.day())};
        return zeb::gtfsCommand(request, day, std::cout, std::cerr);
    }
    return usage("comando sconosciuto");
}
