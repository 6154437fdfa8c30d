#include "tool/paper_commands.h"
#include "tool/tool_command_line.h"
#include "tool/tool_commands.h"

#include <QCommandLineParser>
#include <QDate>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <iostream>

namespace {

// Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set…") are not the tool's to print: a
// script reads only what the commands say.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::cerr << message.toStdString() << "\n";
        std::abort();
    }
}

// The command line through Qt's parser, with the tool's options and Italian help.
zeb::ToolArguments parse(QCommandLineParser& parser, const QCoreApplication& app,
                         const std::vector<zeb::ToolCommand>& commands) {
    parser.setApplicationDescription(QString::fromStdString(zeb::toolDescription(commands)));
    // Our own help and version options: Qt's own describe themselves in English.
    parser.addOptions({
        {{"h", "help"}, "Mostra questo aiuto."},
        {{"v", "version"}, "Mostra la versione del programma."},
    });
    // "nuovo, verifica, … o manifesti": every command there is, so that none is left unsaid.
    QString names;
    for (std::size_t k = 0; k < commands.size(); ++k)
        names += QString(k == 0 ? "" : k + 1 == commands.size() ? " o " : ", ") + commands[k].name;
    parser.addPositionalArgument("comando", names);
    parser.addPositionalArgument("file", "il file su cui lavorare");
    for (const zeb::ToolOption& option : zeb::toolOptions(commands)) {
        QStringList names{QString::fromStdString(option.name)};
        if (!option.shortName.empty())
            names.prepend(QString::fromStdString(option.shortName));
        const QString description = QString::fromStdString(option.description);
        parser.addOption(
            option.valueName.empty()
                ? QCommandLineOption(names, description)
                : QCommandLineOption(names, description, QString::fromStdString(option.valueName)));
    }
    zeb::ToolArguments arguments;
    if (!parser.parse(app.arguments())) {
        // Said in the tool's words and with its exit status for a wrong line, not Qt's.
        const QStringList unknown = parser.unknownOptionNames();
        const QString error = parser.errorText();
        const auto quote = error.indexOf('\'');
        arguments.lineFault =
            !unknown.isEmpty()
                ? "l'opzione " + QString(unknown[0].size() == 1 ? "-" : "--").toStdString() +
                      unknown[0].toStdString() + " non esiste"
                : "manca il valore dopo " +
                      error.mid(quote + 1, error.lastIndexOf('\'') - quote - 1).toStdString();
        return arguments;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() >= 1 && positional.size() <= 3)
        arguments.command = positional[0].toStdString();
    if (positional.size() >= 2 && positional.size() <= 3)
        arguments.file = positional[1].toStdString();
    if (positional.size() == 3)
        arguments.secondFile = positional[2].toStdString();
    for (const zeb::ToolOption& option : zeb::toolOptions(commands)) {
        const QString name = QString::fromStdString(option.name);
        if (parser.isSet(name))
            arguments.options[option.name] =
                option.valueName.empty() ? "" : parser.value(name).toStdString();
    }
    const QDate today = QDate::currentDate();
    arguments.today =
        date::sys_days{date::year{today.year()} / static_cast<unsigned>(today.month()) /
                       static_cast<unsigned>(today.day())};
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(quietQt);
    // The paper is drawn without a screen where none is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("zebrano-tool");
    QCoreApplication::setApplicationVersion("1.0");
    QTranslator qtItalian; // "Uso", "Opzioni" and the other texts of the parser
    if (qtItalian.load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtItalian);

    std::vector<zeb::ToolCommand> commands =
        zeb::coreCommands(zeb::pdfNoticeWriter(), zeb::boardsPictureWriter());
    for (zeb::ToolCommand& command : zeb::paperCommands())
        commands.push_back(std::move(command));
    QCommandLineParser parser;
    const zeb::ToolArguments arguments = parse(parser, app, commands);
    if (parser.isSet("help")) {
        const QStringList positional = parser.positionalArguments();
        const auto own = positional.isEmpty()
                             ? std::nullopt
                             : zeb::commandHelp(commands, positional[0].toStdString());
        std::cout << (own ? *own : parser.helpText().toStdString());
        return zeb::kExitOk;
    }
    if (parser.isSet("version")) {
        std::cout << "zebrano-tool " << QCoreApplication::applicationVersion().toStdString()
                  << "\n";
        return zeb::kExitOk;
    }
    if (!arguments.lineFault.empty())
        return zeb::usageError(std::cerr, arguments.lineFault);
    if (arguments.command.empty())
        return zeb::usageError(std::cerr, parser.positionalArguments().size() > 3
                                              ? "troppi argomenti"
                                              : "servono un comando e un file");
    return zeb::runToolCommand(commands, arguments, std::cout, std::cerr);
}
