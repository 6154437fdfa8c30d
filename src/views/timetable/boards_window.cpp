#include "views/timetable/boards_window.h"

#include "controls/file_names.h"
#include "paper/paper_files.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "timetable/train_times.h"
#include "views/common/export_prompt.h"
#include "views/common/window_geometry.h"
#include "views/timetable/timetable_watch.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace zeb {

namespace {

// A station's board: light type on a dark ground, the headers in amber.
const char* kBoardStyle = "QTableWidget, QListWidget { background: #0f1720; color: #f2efe4; "
                          "gridline-color: #26313d; font-weight: bold; }"
                          "QHeaderView::section { background: #1b2530; color: #ffbf3c; "
                          "border: none; padding: 2px 6px; font-weight: bold; }";

// Minutes a tick of the clock stands for, at each speed, for one minute of the day.
constexpr int kTickMilliseconds[] = {60'000, 6'000, 1'000};

// A board whose `stretched` column takes the room the others leave, elided where it must: every
// column stays in sight.
QTableWidget* boardTable(const char* name, const QStringList& columns, int stretched) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()));
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(stretched, QHeaderView::Stretch);
    table->setTextElideMode(Qt::ElideRight);
    table->setWordWrap(false);
    table->setStyleSheet(kBoardStyle);
    return table;
}

} // namespace

BoardsWindow::BoardsWindow(TimetableWatch& watch, Editor editor, DialogPrompts& prompts,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch), editor_(std::move(editor)), prompts_(prompts),
      slider_(new QSlider(Qt::Horizontal)), clock_(new QTimeEdit), play_(new QPushButton("A&vvia")),
      speed_(new QComboBox), delays_(new QComboBox), seed_(new QSpinBox), rows_(new QComboBox),
      horizon_(new QSpinBox),
      departures_(boardTable(
          "partenze",
          {"Ora", "Categoria", "Treno", "Destinazione", "Ritardo", "Binario", "Indicazioni"}, 3)),
      arrivals_(boardTable(
          "arrivi",
          {"Ora", "Categoria", "Treno", "Provenienza", "Ritardo", "Binario", "Indicazioni"}, 3)),
      moreDepartures_(new QLabel), moreArrivals_(new QLabel),
      indicators_(boardTable(
          "indicatori",
          {"Binario", "Treno", "Categoria", "Ora", "Per / da", "Fermate", "Ritardo", "Indicazioni"},
          5)),
      announcements_(new QListWidget), player_(new QTimer(this)) {
    setObjectName("tabelloni");
    setWindowTitle("Tabelloni");
    new WindowGeometry(this, "tabelloni", QSize(1500, 800));
    auto* note = new QLabel("Anteprima secondo le regole dell'editor: il simulatore ha regole "
                            "sue e può mostrare altro.");
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildClock());
    layout->addLayout(buildSettings());
    // The note beside the exports, so that no row is wider than a small screen at scale 2.
    auto* exports = new QHBoxLayout;
    exports->addWidget(note, 1);
    for (const auto& [caption, name, pdf] :
         {std::tuple{"Esporta &immagine…", "esportaTabelloni", false},
          std::tuple{"Esporta &PDF…", "pdfTabelloni", true}}) {
        auto* button = new QPushButton(caption);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, [this, pdf] { exportPicture(pdf); });
        exports->addWidget(button);
    }
    layout->addLayout(exports);
    layout->addWidget(buildBoards(), 1);
    connect(&watch_, &TimetableWatch::changed, this, [this] {
        showChoices(); // an undo may have taken them back
        replay();
    });
    connect(&watch_, &TimetableWatch::settingsChanged, this, [this] { replay(); });
    connect(player_, &QTimer::timeout, this, [this] { setMinute(minute() + 1); });
    replay();
}

BoardsWindow::~BoardsWindow() = default;

int BoardsWindow::minute() const {
    return slider_->value();
}

// The clock: a slider round the day from its start, the time, a minute and ten either way, and
// the day played at 1, 10 or 60 times its pace.
QLayout* BoardsWindow::buildClock() {
    slider_->setObjectName("minutoTabelloni");
    slider_->setRange(0, 24 * 60 - 1);
    slider_->setPageStep(60);
    clock_->setObjectName("oraTabelloni");
    clock_->setDisplayFormat("HH:mm");
    play_->setObjectName("avviaTabelloni");
    play_->setCheckable(true);
    speed_->setObjectName("velocitaTabelloni");
    speed_->addItems({"1×", "10×", "60×"});
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Ora:"));
    row->addWidget(clock_);
    for (const auto& [caption, name, step] :
         {std::tuple{"−10", "menoDieci", -10}, std::tuple{"−1", "menoUno", -1},
          std::tuple{"+1", "piuUno", 1}, std::tuple{"+10", "piuDieci", 10}}) {
        auto* button = new QPushButton(caption);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, [this, step] { setMinute(minute() + step); });
        row->addWidget(button);
    }
    row->addWidget(slider_, 1);
    row->addWidget(play_);
    row->addWidget(speed_);
    connect(slider_, &QSlider::valueChanged, this, &BoardsWindow::refresh);
    connect(clock_, &QTimeEdit::timeChanged, this, [this](const QTime& time) {
        setMinute(minuteOfPlay(day_, time.hour() * 60 + time.minute()));
    });
    auto pace = [this] {
        player_->setInterval(kTickMilliseconds[std::clamp(speed_->currentIndex(), 0, 2)]);
        if (play_->isChecked())
            player_->start();
        else
            player_->stop();
        play_->setText(play_->isChecked() ? "&Ferma" : "A&vvia");
    };
    connect(play_, &QPushButton::toggled, this, pace);
    connect(speed_, &QComboBox::currentIndexChanged, this, pace);
    return row;
}

// How late the trains run, the seed of the draw, the rows of a board and the horizon.
QLayout* BoardsWindow::buildSettings() {
    delays_->setObjectName("ritardiTabelloni");
    delays_->addItems({"Nessun ritardo", "Ritardo massimo dell'indice", "Ritardi estratti"});
    seed_->setObjectName("semeTabelloni");
    seed_->setRange(1, 1'000'000);
    rows_->setObjectName("righeTabelloni");
    rows_->addItems({"5", "10", "20", "40"});
    rows_->setCurrentIndex(1);
    horizon_->setObjectName("orizzonteTabelloni");
    horizon_->setRange(10, 240);
    horizon_->setValue(60);
    horizon_->setSuffix(" min");
    auto* row = new QHBoxLayout;
    for (const auto& [caption, box] : {std::pair<const char*, QWidget*>{"Ritardi:", delays_},
                                       {"Seme:", seed_},
                                       {"Righe:", rows_},
                                       {"Orizzonte:", horizon_}}) {
        row->addWidget(new QLabel(caption));
        row->addWidget(box);
    }
    row->addStretch(1);
    // A choice is the scenario's, kept with its editor's data; the boards follow it.
    auto keep = [this] {
        if (editor_.keep)
            editor_.keep(choices());
        replay();
    };
    connect(delays_, &QComboBox::currentIndexChanged, this, keep);
    connect(seed_, &QSpinBox::valueChanged, this, keep);
    connect(rows_, &QComboBox::currentIndexChanged, this, keep);
    connect(horizon_, &QSpinBox::valueChanged, this, keep);
    return row;
}

QWidget* BoardsWindow::buildBoards() {
    announcements_->setObjectName("annunci");
    announcements_->setWordWrap(true);
    announcements_->setStyleSheet(kBoardStyle);
    auto titled = [](const char* title, QWidget* content, QLabel* more) {
        auto* box = new QWidget;
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(title));
        layout->addWidget(content, 1);
        if (more)
            layout->addWidget(more);
        return box;
    };
    moreDepartures_->setObjectName("partenzeNonMostrate");
    moreArrivals_->setObjectName("arriviNonMostrati");
    auto* boards = new QSplitter(Qt::Horizontal);
    boards->addWidget(titled("Partenze", departures_, moreDepartures_));
    boards->addWidget(titled("Arrivi", arrivals_, moreArrivals_));
    boards->addWidget(titled("Annunci dell'ultima mezz'ora", announcements_, nullptr));
    boards->setSizes({560, 560, 320});
    auto* whole = new QSplitter(Qt::Vertical);
    whole->addWidget(boards);
    whole->addWidget(titled("Indicatori dei binari", indicators_, nullptr));
    for (QTableWidget* table : {departures_, arrivals_, indicators_})
        connect(table, &QTableWidget::cellDoubleClicked, this, [this, table](int row) {
            if (const QTableWidgetItem* item = table->item(row, 0))
                if (const QVariant train = item->data(Qt::UserRole); train.isValid())
                    editor_.showTrain(train.toInt());
        });
    return whole;
}

void BoardsWindow::exportPicture(bool pdf) {
    std::string clock = clockText(clockOfPlay(day_, minute()));
    clock[2] = '.'; // no colon in a file's name
    const QString name = QString::fromStdString(suggestedFileName(
        watch_.scenario().nome_stazione, "tabelloni " + clock, pdf ? "pdf" : "png"));
    const ExportFile file = pdf ? ExportFile{"Esporta PDF", "Documento PDF", name, "pdf"}
                                : ExportFile{"Esporta immagine", "Immagine PNG", name, "png"};
    askAndExport(prompts_, this, file, [this, pdf](const std::string& path) {
        return (pdf ? writeBoardsPdf : writeBoardsPng)(path, watch_.scenario(), day_, minute(),
                                                       settings_)
            .error;
    });
}

void BoardsWindow::showEvent(QShowEvent* event) {
    // The base day as it is on disk now, for the tracks the variant changes.
    base_.reset();
    const std::string path = editor_.baseDayPath ? editor_.baseDayPath() : std::string();
    if (std::error_code unknown; !path.empty() && std::filesystem::is_regular_file(path, unknown)) {
        auto read = std::make_unique<Scenario>();
        read->nome_file_carica = path;
        try {
            Funzione_Carica(*read);
            base_ = std::move(read);
        } catch (const ScenarioFileError&) {
        }
    }
    showChoices();
    replay();
    QWidget::showEvent(event);
}

BoardChoices BoardsWindow::choices() const {
    return {delays_->currentIndex(), seed_->value(), rows_->currentText().toInt(),
            horizon_->value()};
}

void BoardsWindow::showChoices() {
    if (!editor_.choices)
        return;
    const BoardChoices kept = editor_.choices();
    const QSignalBlocker blockDelays(delays_), blockSeed(seed_), blockRows(rows_),
        blockHorizon(horizon_);
    delays_->setCurrentIndex(std::clamp(kept.delays, 0, 2));
    seed_->setValue(kept.seed);
    rows_->setCurrentText(QString::number(kept.rows));
    horizon_->setValue(kept.horizon);
}

void BoardsWindow::replay() {
    const PlaySettings play{.delays = static_cast<DelayMode>(delays_->currentIndex()),
                            .seed = static_cast<std::uint64_t>(seed_->value()),
                            .check = watch_.settings()};
    day_ = playDay(watch_.scenario(), watch_.links(), base_.get(), play);
    said_ = announcements(watch_.scenario(), day_, settings_);
    refresh();
}

void BoardsWindow::setMinute(int minute) {
    slider_->setValue(((minute % (24 * 60)) + 24 * 60) % (24 * 60));
}

void BoardsWindow::refresh() {
    settings_.rows = rows_->currentText().toInt();
    settings_.horizon = horizon_->value();
    {
        const QSignalBlocker block(clock_);
        const int clock = clockOfPlay(day_, minute());
        clock_->setTime(QTime(clock / 60, clock % 60));
    }
    const Scenario& s = watch_.scenario();
    fillBoard(departures_, moreDepartures_, departuresBoard(s, day_, minute(), settings_));
    fillBoard(arrivals_, moreArrivals_, arrivalsBoard(s, day_, minute(), settings_));
    fillIndicators();
    fillAnnouncements();
}

} // namespace zeb
