#include "views/editor/editor_window.h"

#include "views/common/command_button.h"
#include "views/common/control_binder.h"
#include "views/common/window_style.h"
#include "views/editor/artwork.h"
#include "views/editor/recovery_writer.h"
#include "views/timetable/occupancy_window.h"
#include "views/timetable/timetable_watch.h"
#include "views/timetable/train_table_window.h"

#include <QApplication>
#include <QDialog>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace zeb {

namespace {

constexpr const char* kHint = "Per spiegazioni riguardo ai singoli campi da compilare, cliccare "
                              "sul        posto al fianco di ogni campo";

QPlainTextEdit* addMultiLine(QWidget* area, const char* name, QRect where) {
    auto* box = addWidget<QPlainTextEdit>(area, name, where);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    return box;
}

} // namespace

EditorWindow::EditorWindow(Scenario& scenario, QWidget* parent)
    : QMainWindow(parent), prompts_(this), logic_(scenario, prompts_),
      binder_(new ControlBinder(this)), menuBinder_(new ControlBinder(this)),
      timer1_(new QTimer(this)),
      watch_(new TimetableWatch(scenario, logic_.document().links(), this)),
      recovery_(new RecoveryWriter(scenario, this)) {
    recovery_->setEditorData([this] {
        EditorData data = logic_.document().data();
        data.links = storedLinks(logic_.scenario(), logic_.document().links());
        data.recoveredFrom = logic_.document().file().value_or("");
        return data;
    });
    setObjectName("Form1");
    setWindowTitle("Zebrano - Editor Di Scenari v.1.0");
    setWindowIcon(windowIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(defaultControlFont());

    auto* area = new QWidget(this);
    area->setObjectName("clientArea");
    setCentralWidget(area);
    // The client area keeps its size; the menu bar stands above it.
    area->setFixedSize(fromTwips(0, 0, 9840, 6375).size());
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    buildTopBand(area);
    buildTrainFields(area);
    buildBottomBand(area);
    setTabOrder();
    buildMenuBar(); // after the buttons, which its File menu presses
    prompts_.guidePage = [](const QDialog& dialog) { return guidePageOf(&dialog); };
    binder_->refresh();

    timer1_->setObjectName("Timer1");
    timer1_->setInterval(50);
    connect(timer1_, &QTimer::timeout, this, &EditorWindow::tick);
    // The minutes changed in the train table belong to the scenario's data, saved with it.
    connect(watch_, &TimetableWatch::settingsEdited, this, [this](const CheckSettings& settings) {
        run([&] { logic_.document().setCheckSettings(settings); });
    });
    timer1_->start();
    // Back from another program: the scenario's file may have changed there.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && QApplication::activeModalWidget() == nullptr)
                    checkFileOnDisk();
            });
}

void EditorWindow::checkFileOnDisk() {
    if (!inHandler_)
        run([this] { commands_.checkFileOnDisk(); });
}

void EditorWindow::buildTopBand(QWidget* area) {
    auto* logo = addWidget<QLabel>(area, "Image1", fromTwips(0, 0, 3645, 915));
    logo->setPixmap(logoBanner());
    auto* title = addLabel(area, "Label1", "Editor Di Scenari", fromTwips(3840, 120, 5775, 555),
                           Qt::AlignCenter);
    title->setFont(verdanaFont(24));
    auto* line = addWidget<QFrame>(area, "Line1", QRect(0, 60, 667, 1));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);

    addCommands(
        area, 910, 735,
        {{"nuovo_scenario", "NUOVO SCENARIO", 0, 1455, true, &EditorLogic::nuovo_scenario,
          &EditorLogic::nuovo_scenario_Click},
         {"carica_scenario", "APRI SCENARIO", 1440, 1455, true, &EditorLogic::carica_scenario,
          &EditorLogic::carica_scenario_Click},
         {"chiudi", "CHIUDI SCENARIO", 2880, 1455, true, &EditorLogic::chiudi,
          &EditorLogic::chiudi_Click},
         {"salva", "SALVA", 4320, 1455, true, &EditorLogic::salva, &EditorLogic::salva_Click},
         {"modifica", "MODIFICA DATI STAZIONE", 5760, 1455, true, &EditorLogic::modifica,
          &EditorLogic::modifica_Click},
         {"contributo", "CONTRIBUTO", 7200, 2655, false, &EditorLogic::contributo,
          &EditorLogic::contributo_Click}});

    // The "?" stands in the gap of blanks in the hint, wherever the font puts that gap.
    auto* hint = addLabel(area, "Label11", kHint, fromTwips(360, 1800, 9015, 255), Qt::AlignCenter);
    const QString text = hint->text();
    const QFontMetrics metrics(hint->font());
    const int gapStart = text.indexOf("sul ") + 3;
    const int gapEnd = text.indexOf(" posto") + 1;
    const int textLeft = hint->x() + (hint->width() - metrics.horizontalAdvance(text)) / 2;
    const int gapMiddle = textLeft + (metrics.horizontalAdvance(text.left(gapStart)) +
                                      metrics.horizontalAdvance(text.left(gapEnd))) /
                                         2;
    auto* command4 = addWidget<QPushButton>(area, "Command4", fromTwips(6330, 1790, 255, 255));
    command4->setText("?");
    command4->move(gapMiddle - command4->width() / 2, command4->y());
    binder_->bind(command4, logic_.Command4);
}

void EditorWindow::buildTrainFields(QWidget* area) {
    struct Row {
        const char* labelName;
        const char* caption;
        int top;
    };
    for (const Row& row :
         {Row{"Label2", "Numero treno:", 2400}, Row{"Label14", "Categoria:", 2745},
          Row{"Label4", "Provenienza:", 3120}, Row{"Label3", "Destinazione:", 3480},
          Row{"Label6", "Ora arrivo:", 3840}, Row{"Label8", "Ora partenza:", 4200},
          Row{"Label9", "Indice ritardo:", 4545}})
        addLabel(area, row.labelName, row.caption, fromTwips(-120, row.top, 1695, 255));
    addLabel(area, "Label5", ":", fromTwips(2070, 3840, 90, 255), Qt::AlignCenter);
    addLabel(area, "Label7", ":", fromTwips(2070, 4200, 90, 255), Qt::AlignCenter);
    addLabel(area, "Label10", "Ferma a:", fromTwips(4560, 2640, 1695, 255));
    addLabel(area, "Label12", "Indicazioni sussidiarie:", fromTwips(4080, 3240, 2175, 255));
    addLabel(area, "Label13", "Note al treno:", fromTwips(4080, 3915, 2175, 375),
             Qt::AlignRight | Qt::AlignTop);
    addLabel(area, "Label16", "Binario:", fromTwips(4200, 4560, 2055, 255));

    binder_->bind(addWidget<QLineEdit>(area, "numero", fromTwips(1680, 2400, 1815, 285)),
                  logic_.numero);
    binder_->bind(addWidget<QComboBox>(area, "categoria", fromTwips(1680, 2745, 1815, 315)),
                  logic_.categoria);
    binder_->bind(addWidget<QLineEdit>(area, "provenienza", fromTwips(1680, 3120, 1815, 285)),
                  logic_.provenienza);
    binder_->bind(addWidget<QLineEdit>(area, "destinazione", fromTwips(1680, 3480, 1815, 285)),
                  logic_.destinazione);
    binder_->bind(addWidget<QLineEdit>(area, "oraa", fromTwips(1680, 3840, 375, 285)), logic_.oraa);
    binder_->bind(addWidget<QLineEdit>(area, "mina", fromTwips(2160, 3840, 375, 285)), logic_.mina);
    binder_->bind(addWidget<QLineEdit>(area, "orap", fromTwips(1680, 4200, 375, 285)), logic_.orap);
    binder_->bind(addWidget<QLineEdit>(area, "minp", fromTwips(2160, 4200, 375, 285)), logic_.minp);
    binder_->bind(addWidget<QComboBox>(area, "ritardo", fromTwips(1680, 4545, 855, 315)),
                  logic_.ritardo);
    binder_->bind(addMultiLine(area, "fermate", fromTwips(6360, 2400, 2415, 765)), logic_.fermate);
    binder_->bind(addWidget<QComboBox>(area, "sussi", fromTwips(6360, 3220, 2415, 315)),
                  logic_.sussi);
    binder_->bind(addMultiLine(area, "note", fromTwips(6360, 3600, 2415, 885)), logic_.note);
    binder_->bind(addWidget<QComboBox>(area, "binario", fromTwips(6360, 4540, 855, 315)),
                  logic_.binario);

    // The help buttons; 10 and 12 stand in the bottom band, outside the cover.
    const QPoint helpCorners[13] = {{3600, 2400}, {3600, 2760}, {3600, 3120}, {3600, 3480},
                                    {2760, 3840}, {2760, 4200}, {2760, 4560}, {8880, 2640},
                                    {8880, 3240}, {8880, 3915}, {5400, 5040}, {7320, 4560},
                                    {5400, 5365}};
    for (int i = 0; i < 13; ++i) {
        const QByteArray name = "help_" + QByteArray::number(i);
        auto* help = addWidget<QPushButton>(
            area, name.constData(), fromTwips(helpCorners[i].x(), helpCorners[i].y(), 255, 255));
        help->setText("?");
        binder_->bind(help, logic_.help[i]);
        onClick(help, [this, i] { logic_.help_Click(i); });
    }

    auto* cover = addWidget<QPushButton>(area, "copri", fromTwips(0, 2160, 10335, 2775));
    cover->raise(); // above every control of the middle band
    binder_->bind(cover, logic_.copri);
}

void EditorWindow::buildBottomBand(QWidget* area) {
    addLabel(area, "Label15", "Numero totale treni:", fromTwips(2640, 5040, 2055, 255));
    addLabel(area, "Label17", "Identificativo treno:", fromTwips(2640, 5365, 2055, 255));
    binder_->bind(addWidget<QLineEdit>(area, "numerotrenit", fromTwips(4800, 5025, 495, 285)),
                  logic_.numerotrenit);
    binder_->bind(addWidget<QLineEdit>(area, "postreno", fromTwips(4800, 5350, 495, 285)),
                  logic_.postreno);

    addCommands(area, 5760, 615,
                {{"tprecedente", "<------ TRENO PRECEDENTE", 0, 2535, false,
                  &EditorLogic::tprecedente, &EditorLogic::tprecedente_Click},
                 {"nuovotreno", "   NUOVO     TRENO", 2520, 1575, true, &EditorLogic::nuovotreno,
                  &EditorLogic::nuovotreno_Click},
                 {"inseriscitreno", "INSERISCI TRENO", 4080, 1575, true,
                  &EditorLogic::inseriscitreno, &EditorLogic::inseriscitreno_Click},
                 {"modificatr", "CONFERMA MODIFICHE", 4080, 1575, false, &EditorLogic::modificatr,
                  &EditorLogic::modificatr_Click},
                 {"cancellatreno", "CANCELLA TRENO", 5640, 1575, true, &EditorLogic::cancellatreno,
                  &EditorLogic::cancellatreno_Click},
                 {"tsuccessivo", "TRENO SUCCESSIVO ------>", 7200, 2655, false,
                  &EditorLogic::tsuccessivo, &EditorLogic::tsuccessivo_Click}});
}

void EditorWindow::addCommands(QWidget* area, int top, int height,
                               std::initializer_list<CommandSpec> commands) {
    for (const CommandSpec& c : commands) {
        auto* button = new CommandButton(c.caption, area);
        button->setObjectName(c.name);
        button->setGeometry(fromTwips(c.left, top, c.width, height));
        if (c.verdana)
            button->setFont(verdanaFont());
        binder_->bind(button, logic_.*c.model);
        onClick(button, [this, handler = c.handler] { (logic_.*handler)(); });
    }
}

void EditorWindow::setTabOrder() {
    QStringList names = {
        "numero",        "categoria",   "provenienza", "destinazione",   "oraa",
        "mina",          "orap",        "minp",        "ritardo",        "fermate",
        "sussi",         "note",        "binario",     "inseriscitreno", "nuovotreno",
        "cancellatreno", "tprecedente", "tsuccessivo", "nuovo_scenario", "carica_scenario",
        "chiudi",        "salva",       "modifica",    "contributo",     "Command4"};
    for (int i = 0; i < 13; ++i)
        names << QString("help_%1").arg(i);
    names << "numerotrenit"
          << "copri"
          << "modificatr"
          << "postreno";
    for (int i = 1; i < names.size(); ++i)
        QWidget::setTabOrder(findChild<QWidget*>(names[i - 1]), findChild<QWidget*>(names[i]));
}

void EditorWindow::onClick(QAbstractButton* button, std::function<void()> handler) {
    connect(button, &QAbstractButton::clicked, this, [this, handler] { run(handler); });
}

void EditorWindow::run(const std::function<void()>& handler) {
    QWidget* focused = QApplication::focusWidget();
    inHandler_ = true;
    handler();
    inHandler_ = false;
    binder_->refresh();
    followScenario();
    if (focused != nullptr && focused->window() == this &&
        !(focused->isEnabled() && focused->isVisible()))
        placeFocus();
}

// After a command disabled or hid the control with the focus, the focus goes to the train's
// first field, or under the cover to NUOVO TRENO, never on to the next button (which may be
// CHIUDI SCENARIO, one key away from closing the scenario).
void EditorWindow::placeFocus() {
    const bool covered = logic_.copri.visible;
    for (const char* name : {"numero", "nuovotreno", "tprecedente", "nuovo_scenario"}) {
        auto* candidate = findChild<QWidget*>(name);
        if (candidate != nullptr && candidate->isEnabled() && candidate->isVisible() &&
            !(covered && candidate->objectName() == "numero")) {
            candidate->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void EditorWindow::offerRecovery() {
    run([this] { commands_.offerRecovery(recovery_->store()); });
}

void EditorWindow::followScenario() {
    watch_->setSettings(
        logic_.document().data().settings); // a scenario opened or closed brings its own
    watch_->setTrackRules(logic_.document().data().trackRules);
    const auto change = logic_.document().takeChange();
    if (change)
        watch_->scenarioChanged(*change);
    if (!logic_.hasUnsavedChanges())
        recovery_->discard();
    else if (change)
        recovery_->changed();
    const bool viewing = !logic_.copri.visible && logic_.modificatr.visible;
    watch_->setShownTrain(viewing ? logic_.scenario().treno_attuale : -1);
    followCommands();
    showFileName();
    indicator_->setEnabled(logic_.scenarioOpen());
}

void EditorWindow::followCommands() {
    unconfirmed_ = logic_.hasUnconfirmedChanges();
    followLogic(commandStates_, logic_, commands_);
    menuBinder_->refresh();
}

void EditorWindow::openScenarioFile(const std::string& path) {
    run([this, &path] { logic_.openScenarioFile(path); });
}

void EditorWindow::tick() {
    // A tick never runs inside a handler, not even while the handler waits for a dialog.
    if (inHandler_ || !logic_.Timer1)
        return;
    logic_.Timer1_Timer();
    binder_->refresh();
    // Typing into a shown train makes Annulla put it back: the menu says so as soon as it does.
    if (logic_.hasUnconfirmedChanges() != unconfirmed_)
        followCommands();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    run([&] { mayClose = logic_.closeRequested(); });
    if (mayClose) {
        recovery_->discard();
        event->accept();
    } else
        event->ignore();
}

} // namespace zeb
