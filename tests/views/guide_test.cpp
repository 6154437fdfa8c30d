#include "gtfs/valle_feed.h"
#include "views/gui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>

using namespace zeb;
using namespace zeb::test;

namespace {

// A caption as the user reads it: without its accelerator and with single blanks.
QString readable(QString text) {
    return text.remove('&').simplified();
}

// Every text the widgets under `window` show: actions, menus, buttons, labels, list entries, group
// titles and the window's own title.
QStringList textsOf(QWidget* window) {
    QStringList texts{readable(window->windowTitle())};
    for (QAction* action : window->findChildren<QAction*>())
        texts << readable(action->text());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        texts << readable(button->text());
    for (QLabel* label : window->findChildren<QLabel*>())
        texts << readable(label->text());
    for (QGroupBox* box : window->findChildren<QGroupBox*>())
        texts << readable(box->title());
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        for (int i = 0; i < list->count(); ++i)
            texts << readable(list->itemText(i));
    }
    return texts;
}

} // namespace

// The guide: F1 from the editor and from its windows, its pages and its links, and the names it
// gives the program's controls, each as the program shows it.
class GuideTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void f1OpensTheGuideAndItsPagesLeadOn() {
        openFourTrains();
        QTest::keyClick(window, Qt::Key_F1);
        auto* guide = widget<QWidget>(window, "guida");
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        auto* text = widget<QTextBrowser>(guide, "testoGuida");
        QVERIFY(text->toPlainText().startsWith("Guida di Zebrano"));
        auto* contents = widget<QListWidget>(guide, "indiceGuida");
        QCOMPARE(contents->currentItem()->text(), QString("Guida di Zebrano"));
        // Every page the program holds is in the contents.
        QCOMPARE(contents->count(), QDir(":/guida").entryList({"*.md"}).size());
        const QRect entry = contents->visualItemRect(contents->item(3));
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, entry.center());
        QVERIFY(text->toPlainText().startsWith("I ritardi previsti"));
        QVERIFY(!text->document()
                     ->resource(QTextDocument::ImageResource, QUrl("immagini/rischio_ritardi.png"))
                     .isNull());
        click(guide, "indietroGuida");
        QVERIFY(text->toPlainText().startsWith("Guida di Zebrano"));
        QCOMPARE(contents->currentItem()->text(), QString("Guida di Zebrano"));
        type(guide, "cercaGuida", "Maiusc+F1");
        QTest::keyClick(widget<QLineEdit>(guide, "cercaGuida"), Qt::Key_Return);
        QCOMPARE(text->textCursor().selectedText(), QString("Maiusc+F1"));
        screenshot(guide, "guida");

        // Shift+F1 in a window of ours opens its own page.
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(window, Qt::Key_F5);
        auto* risk = widget<QWidget>(window, "rischioRitardi");
        QVERIFY(QTest::qWaitForWindowExposed(risk));
        QTRY_COMPARE(QApplication::activeWindow(), risk);
        QTest::keyClick(risk, Qt::Key_F1, Qt::ShiftModifier);
        QTRY_VERIFY(text->toPlainText().startsWith("I ritardi previsti"));

        // F1 in a dialog opens its page beside it, usable while the dialog waits.
        dialogs.expect("assegnaBinari", [](QDialog& dialog) {
            dialog.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &dialog);
            QTest::keyClick(&dialog, Qt::Key_F1);
            auto* own = widget<QTextBrowser>(&dialog, "testoGuida");
            QVERIFY(own->toPlainText().startsWith("Scegliere i binari e le regole"));
            QVERIFY(own->window()->isVisible());
            dialog.reject();
        });
        window->findChild<QAction*>("actionAssegnaBinari")->trigger();
    }

    // Every «name» of the pages is a caption the program shows: in the editor and its menus, in
    // the windows F2 to F5 open, in the dialogs of the tools. A control renamed without its page
    // fails.
    void theGuideNamesTheControlsAsTheProgramShowsThem() {
        openFourTrains();
        for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5})
            QTest::keyClick(window, key);
        QStringList shown;
        for (QWidget* top : QApplication::topLevelWidgets())
            shown << textsOf(top);
        // The dialogs the pages name the controls of; the import's with a feed to read.
        QDir().mkpath(QString::fromStdString(folder.file("feed")));
        for (const auto& [name, text] : valleFeed())
            writeBytes(folder.file("feed/" + name), text);
        for (const auto& [dialogName, action] :
             {std::pair{"assegnaBinari", "actionAssegnaBinari"},
              std::pair{"manifesti", "actionManifesti"},
              std::pair{"perturbazioni", "actionPerturbazioni"},
              std::pair{"collegaRotazioni", "actionCollegaRotazioni"},
              std::pair{"importaGtfs", "actionImportaGtfs"},
              std::pair{"regoleBinari", "actionRegoleBinari"},
              std::pair{"impostazioniOrario", "actionImpostazioniOrario"}}) {
            nextFile = QString::fromStdString(folder.file("feed/stops.txt"));
            dialogs.expect(dialogName, [&shown](QDialog& dialog) {
                shown << textsOf(&dialog);
                dialog.reject();
            });
            window->findChild<QAction*>(action)->trigger();
        }
        const QRegularExpression quoted("«([^»]+)»");
        int names = 0;
        QStringList quotedNames;
        for (const QString& page : QDir(":/guida").entryList({"*.md"})) {
            QFile file(":/guida/" + page);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll()).simplified();
            for (const auto& match : quoted.globalMatch(text)) {
                for (const QString& name : match.captured(1).split(" → ")) {
                    ++names;
                    quotedNames << name;
                    const bool found =
                        std::any_of(shown.begin(), shown.end(), [&](const QString& s) {
                            return s == name || s.contains(name);
                        });
                    if (!found)
                        QFAIL(qPrintable(page + ": «" + name + "» is not shown anywhere"));
                }
            }
        }
        QVERIFY(names > 80);
        // And every command of the menus is named.
        for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && action->menu() == nullptr &&
                    !quotedNames.contains(readable(action->text())))
                    QFAIL(qPrintable("the guide does not name «" + readable(action->text()) + "»"));
            }
        }
    }
};

QTEST_MAIN(GuideTest)
#include "guide_test.moc"
