#include "model/scenario.h"
#include "views/editor/editor_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Zebrano");
    QApplication::setApplicationName("Zebrano");
    QApplication::setApplicationVersion("1.0");
    QApplication::setDesktopFileName("zebrano-editor");

    // Qt's own Italian texts for the standard buttons and the file dialogs.
    QTranslator qtItalian;
    if (qtItalian.load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtItalian);

    QCommandLineParser parser;
    parser.setApplicationDescription("Editor di scenari per il simulatore Zebrano.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "Lo scenario (.zeb) da aprire.", "[file]");
    parser.process(app);

    zeb::Scenario scenario;
    zeb::EditorWindow window(scenario);
    window.show();
    // Once the window is up, so that the station dialog and any message stand over it: first
    // the copy of a scenario left unsaved, then a file named on the command line.
    const QStringList files = parser.positionalArguments();
    QTimer::singleShot(0, &window, [&window, files] {
        window.offerRecovery();
        if (!files.isEmpty())
            window.openScenarioFile(files.first().toStdString());
    });
    return app.exec();
}
