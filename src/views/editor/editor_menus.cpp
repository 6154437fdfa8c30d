// The editor window's menu bar: File, Modifica, Strumenti, and the corner with the file's name
// and the checker's words.

#include "views/editor/editor_window.h"

#include "views/common/control_binder.h"
#include "views/common/guide_window.h"

#include "model/counted.h"
#include "timetable/turnaround_pairs.h"
#include "views/common/window_style.h"
#include "views/editor/recovery_writer.h"
#include "views/timetable/boards_window.h"
#include "views/timetable/occupancy_window.h"
#include "views/timetable/risk_window.h"
#include "views/timetable/timetable_watch.h"
#include "views/timetable/train_table_window.h"
#include "views/tools/link_turnarounds_dialog.h"
#include "views/tools/posters_dialog.h"
#include "views/tools/timetable_settings_dialog.h"
#include "views/tools/track_rules_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>

#include <functional>

namespace zeb {

// The room the file's name has in the menu bar's corner, in average letters.
constexpr int kCornerNameLetters = 28;

// The windows of the timetable, F2 to F5, each made on first use and brought up above the others.
void EditorWindow::addWindowActions(QMenu* tools) {
    auto windowAction = [this, tools](const char* caption, Qt::Key key, const char* name,
                                      std::function<QWidget&()> window) {
        QAction* action =
            tools->addAction(caption, QKeySequence(key), this, [window] { bringUp(window()); });
        action->setObjectName(name);
        return action;
    };
    trainTableAction_ = windowAction("&Quadro treni", Qt::Key_F2, "actionQuadroTreni",
                                     [this]() -> QWidget& { return trainTable(); });
    occupancyAction_ = windowAction("&Occupazione binari", Qt::Key_F3, "actionOccupazioneBinari",
                                    [this]() -> QWidget& { return occupancy(); });
    boardsAction_ = windowAction("&Tabelloni…", Qt::Key_F4, "actionTabelloni",
                                 [this]() -> QWidget& { return boards(); });
    riskAction_ = windowAction("&Rischio ritardi…", Qt::Key_F5, "actionRischioRitardi",
                               [this]() -> QWidget& { return risk(); });
}

// Strumenti: the windows of the timetable, the exchanges with other programs, the tools that
// change many trains.
void EditorWindow::buildToolsMenu() {
    QMenu* tools = menuBar()->addMenu("&Strumenti");
    tools->setObjectName("menuStrumenti");
    addWindowActions(tools);
    postersAction_ = tools->addAction("&Manifesti partenze e arrivi…", this, [this] {
        PostersDialog dialog(logic_.scenario(), prompts_, this);
        prompts_.runDialog(dialog);
    });
    postersAction_->setObjectName("actionManifesti");
    tools->addSeparator();
    exportCsvAction_ = tools->addAction("&Esporta treni in CSV…", this,
                                        [this] { run([this] { commands_.exportCsv(); }); });
    exportCsvAction_->setObjectName("actionEsportaCsv");
    importCsvAction_ = tools->addAction("&Importa treni da CSV…", this,
                                        [this] { run([this] { commands_.importCsv(); }); });
    importCsvAction_->setObjectName("actionImportaCsv");
    importGtfsAction_ = tools->addAction("Importa orario &GTFS…", this, [this] { importGtfs(); });
    importGtfsAction_->setObjectName("actionImportaGtfs");
    tools->addSeparator();
    assignTracksAction_ = tools->addAction("Assegna &binari…", this, [this] { assignTracks({}); });
    assignTracksAction_->setObjectName("actionAssegnaBinari");
    perturbAction_ = tools->addAction("&Perturbazioni…", this, [this] { perturbTrains({}); });
    perturbAction_->setObjectName("actionPerturbazioni");
    linkAction_ = tools->addAction("&Collega rotazioni…", this, [this] {
        if (!logic_.canShowTrain())
            return;
        LinkTurnaroundsDialog dialog(logic_.scenario(), watch_->settings(), watch_->links(), this);
        if (prompts_.runDialog(dialog) != QDialog::Accepted)
            return;
        const long count = static_cast<long>(dialog.added().size());
        run([&] {
            logic_.document().setLinks(withLinks(logic_.document().links(), dialog.added()),
                                       "collegamento di " +
                                           counted(count, "rotazione", "rotazioni"));
        });
    });
    linkAction_->setObjectName("actionCollegaRotazioni");
    rulesAction_ = tools->addAction("Regole bi&nari…", this, [this] {
        if (!logic_.scenarioOpen())
            return;
        TrackRulesDialog dialog(logic_.scenario(), logic_.document().data().trackRules, prompts_,
                                this);
        if (prompts_.runDialog(dialog) == QDialog::Accepted)
            run([&] { logic_.document().setTrackRules(dialog.rules()); });
    });
    rulesAction_->setObjectName("actionRegoleBinari");
    settingsAction_ = tools->addAction("Impostazioni o&rario…", this, [this] {
        TimetableSettingsDialog dialog(logic_.document().data().settings, this);
        if (prompts_.runDialog(dialog) == QDialog::Accepted)
            run([&] { logic_.document().setCheckSettings(dialog.settings()); });
    });
    settingsAction_->setObjectName("actionImpostazioniOrario");
    const std::pair<QAction*, const Button*> states[] = {
        {trainTableAction_, &commandStates_.trainTable},
        {occupancyAction_, &commandStates_.occupancy},
        {riskAction_, &commandStates_.risk},
        {postersAction_, &commandStates_.posters},
        {exportCsvAction_, &commandStates_.exportCsv},
        {importCsvAction_, &commandStates_.importCsv},
        {importGtfsAction_, &commandStates_.importGtfs},
        {assignTracksAction_, &commandStates_.assignTracks},
        {perturbAction_, &commandStates_.perturb},
        {linkAction_, &commandStates_.link},
        {rulesAction_, &commandStates_.rules},
        {settingsAction_, &commandStates_.settings},
    };
    for (const auto& [action, state] : states)
        menuBinder_->bind(action, *state);
}

void EditorWindow::buildMenuBar() {
    menuBar()->setObjectName("menuBar");
    buildFileMenu();
    QMenu* edit = menuBar()->addMenu("&Modifica");
    edit->setObjectName("menuModifica");
    // While a text box has the focus, the same keys undo its typing: the box takes them first.
    undoAction_ = edit->addAction("Annulla", QKeySequence::Undo, this,
                                  [this] { run([this] { commands_.undo(); }); });
    undoAction_->setObjectName("actionAnnulla");
    menuBinder_->bind(undoAction_, commandStates_.undo);
    redoAction_ = edit->addAction("Ripeti", QKeySequence::Redo, this,
                                  [this] { run([this] { commands_.redo(); }); });
    redoAction_->setObjectName("actionRipeti");
    menuBinder_->bind(redoAction_, commandStates_.redo);
    // Ctrl+Y too, as most editors take it.
    // Ctrl+Shift+Z and Ctrl+Y both, once each: a key bound twice would do neither.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const char* key : {"Ctrl+Shift+Z", "Ctrl+Y"}) {
        if (!redoKeys.contains(QKeySequence(key)))
            redoKeys << QKeySequence(key);
    }
    redoAction_->setShortcuts(redoKeys);
    buildToolsMenu();
    buildHelpMenu();

    indicator_ = new QToolButton(menuBar());
    indicator_->setObjectName("indicatoreVerifica");
    indicator_->setAutoRaise(true);
    // The file's name and whether it has changes not yet saved, beside the checker.
    auto* corner = new QWidget(menuBar());
    auto* cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 0, 0, 0);
    fileName_ = new QLabel(corner);
    fileName_->setObjectName("nomeFile");
    cornerLayout->addWidget(fileName_);
    cornerLayout->addWidget(indicator_);
    menuBar()->setCornerWidget(corner);
    connect(indicator_, &QToolButton::clicked, this, [this] { trainTable().showFindings(); });
    connect(watch_, &TimetableWatch::findingsChanged, this, &EditorWindow::showFindingsCount);
    showFindingsCount();
    followScenario();
}

// File: the scenario commands under the keys of every desktop editor, each pressing its button,
// so that it asks the same questions in the same words.
void EditorWindow::buildFileMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("menuFile");
    const struct {
        const char* text;
        QKeySequence keys;
        const char* name;
        const char* button;
        Button EditorLogic::*model;
    } entries[] = {
        {"&Nuovo", QKeySequence::New, "actionNuovo", "nuovo_scenario",
         &EditorLogic::nuovo_scenario},
        {"&Apri…", QKeySequence::Open, "actionApri", "carica_scenario",
         &EditorLogic::carica_scenario},
        {"&Salva", QKeySequence::Save, "actionSalva", "salva", &EditorLogic::salva},
        {"Salva con &nome…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "actionSalvaConNome",
         "salva", &EditorLogic::salva},
        {"&Chiudi", QKeySequence(Qt::CTRL | Qt::Key_W), "actionChiudi", "chiudi",
         &EditorLogic::chiudi},
    };
    for (const auto& entry : entries) {
        auto* button = findChild<QAbstractButton*>(entry.button);
        QAction* action =
            file->addAction(entry.text, entry.keys, this, [button] { button->click(); });
        action->setObjectName(entry.name);
        menuBinder_->bind(action, logic_.*entry.model);
        fileActions_.push_back(action);
    }
    variantAction_ = file->addAction("Salva &variante come…", this,
                                     [this] { run([this] { commands_.saveVariantAs(); }); });
    variantAction_->setObjectName("actionSalvaVariante");
    menuBinder_->bind(variantAction_, commandStates_.variant);
    file->addSeparator();
    compareAction_ = file->addAction("C&onfronta con…", this, [this] { compareDays(); });
    compareAction_->setObjectName("actionConfrontaCon");
    menuBinder_->bind(compareAction_, commandStates_.compare);
    file->addSeparator();
    QAction* quit =
        file->addAction("&Esci", QKeySequence(Qt::CTRL | Qt::Key_Q), this, [this] { close(); });
    quit->setObjectName("actionEsci");
}

// "?": the guide, the page of the window in use, the program and its libraries.
void EditorWindow::buildHelpMenu() {
    QMenu* help = menuBar()->addMenu("&?");
    help->setObjectName("menuAiuto");
    guideAction_ = help->addAction("&Guida di Zebrano", QKeySequence(Qt::Key_F1), this,
                                   [this] { showGuide(QString()); });
    guideAction_->setObjectName("actionGuida");
    pageAction_ =
        help->addAction("Guida di &questa finestra", QKeySequence(Qt::SHIFT | Qt::Key_F1), this,
                        [this] { showGuide(guidePageOf(QApplication::activeWindow())); });
    pageAction_->setObjectName("actionGuidaFinestra");
    QAction* about = help->addAction("&Informazioni", this, [this] { showAbout(); });
    about->setObjectName("actionInformazioni");
}

void EditorWindow::showGuide(const QString& page) {
    if (guide_ == nullptr)
        guide_ = new GuideWindow(this);
    guide_->showPage(page);
}

// The page that explains a window of ours, by its name; the contents for one without its own.
QString EditorWindow::guidePageOf(const QWidget* window) {
    static const std::pair<const char*, const char*> kPages[] = {
        {"Form1", "primo_scenario"},
        {"Form2", "primo_scenario"},
        {"manifesti", "occupazione_binari"},
        {"perturbazioni", "giorno_perturbato"},
        {"collegaRotazioni", "rotazioni"},
        {"importaGtfs", "orario_gtfs"},
        {"impostazioniOrario", "dati_editor"},
        {"rischioRitardi", "rischio_ritardi"},
        {"tabelloni", "tabelloni"},
        {"assegnaBinari", "assegna_binari"},
        {"regoleBinari", "assegna_binari"},
        {"quadroTreni", "quadro_treni"},
        {"occupazioneBinari", "occupazione_binari"},
        {"confrontaScenari", "giorno_perturbato"},
        {"ripetiTrenoDialogo", "quadro_treni"},
        {"spostaOrariDialogo", "quadro_treni"},
        {"collegaA", "rotazioni"},
    };
    // A file dialog's page is that of the files it asks for.
    if (const auto* files = qobject_cast<const QFileDialog*>(window))
        return files->nameFilters().join(' ').contains("*.csv") ? "treni_csv" : "primo_scenario";
    for (const auto& [name, page] : kPages) {
        if (window != nullptr && window->objectName() == name)
            return page;
    }
    return QString();
}

void EditorWindow::showAbout() {
    prompts_.showMessage("Zebrano " ZEBRANO_VERSION
                         ", l'editor degli scenari per il simulatore di stazione.\r\n\r\nUsa Qt " +
                             std::string(qVersion()) +
                             " (LGPL 3), GLPK (GPL 3), ICU (licenza Unicode), libzip (BSD), "
                             "date di Howard Hinnant (MIT) e nlohmann-json (MIT).",
                         "Informazioni", MessageIcon::Information, MessageButtons::Ok);
}

// The editor's keys that work in its other windows too: the file commands, Annulla and Ripeti,
// F2 to F5, the guide.
QList<QAction*> EditorWindow::windowKeys() const {
    QList<QAction*> keys{undoAction_,   redoAction_, trainTableAction_, occupancyAction_,
                         boardsAction_, riskAction_, guideAction_,      pageAction_};
    for (QAction* action : fileActions_)
        keys << action;
    keys << findChild<QAction*>("actionEsci");
    return keys;
}

// The file's name with its unsaved mark.
void EditorWindow::showFileName() {
    const Scenario& s = logic_.scenario();
    QString name;
    QString tip;
    if (logic_.scenarioOpen()) {
        const std::string& path = !s.nome_file.empty() ? s.nome_file : s.nome_file_carica;
        const bool named = !path.empty() && path != recovery_->store().ownCopy();
        // A long name is shortened in its middle, so that the mark and the checker's words
        // beside it always show.
        name = named ? fileName_->fontMetrics().elidedText(
                           QFileInfo(QString::fromStdString(path)).fileName(), Qt::ElideMiddle,
                           fileName_->fontMetrics().averageCharWidth() * kCornerNameLetters)
                     : QString("senza nome");
        tip = named ? QFileInfo(QString::fromStdString(path)).absoluteFilePath() : name;
        if (logic_.hasUnsavedChanges()) {
            name += " *";
            tip += "\nModifiche non salvate";
        }
    }
    fileName_->setText(name);
    fileName_->setToolTip(tip);
    fitCorner();
}

// The menu bar lays its corner out only when it is shown or set: where the name or the checker's
// words ask for another width, it is set again, so that neither is cut.
void EditorWindow::fitCorner() {
    QWidget* corner = menuBar()->cornerWidget();
    if (corner != nullptr && corner->sizeHint().width() != corner->width())
        menuBar()->setCornerWidget(corner);
}

} // namespace zeb
