#include "model/scenario.h"
#include "views/editor_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zebrano");
    QApplication::setApplicationDisplayName("Zebrano");

    // Qt's own Italian texts for the standard buttons and the file dialogs.
    QTranslator qtItalian;
    if (qtItalian.load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtItalian);

    zeb::Scenario scenario;
    zeb::EditorWindow window(scenario);
    window.show();
    return app.exec();
}
