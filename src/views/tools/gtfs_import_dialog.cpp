#include "views/tools/gtfs_import_dialog.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/station_list.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "views/common/background_reading.h"
#include "views/common/date_field.h"
#include "views/common/dialog_prompts.h"
#include "views/common/window_geometry.h"
#include "views/common/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace zeb {

namespace {

const char* kCategoriesKey = "gtfs/categorie";

QDate toQDate(date::sys_days day) {
    const date::year_month_day ymd(day);
    return QDate(int(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                 static_cast<int>(unsigned(ymd.day())));
}

date::sys_days fromQDate(const QDate& d) {
    return date::sys_days(date::year{d.year()} / static_cast<unsigned>(d.month()) /
                          static_cast<unsigned>(d.day()));
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

GtfsImportDialog::GtfsImportDialog(const GtfsFeed& feed, const ImportBase& base,
                                   DialogPrompts& prompts, QWidget* parent)
    : QDialog(parent), feed_(feed), scenario_(base.scenario), base_(base), prompts_(prompts),
      search_(new QLineEdit), stations_(new QStandardItemModel(0, 2, this)),
      filtered_(new QSortFilterProxyModel(this)), stationList_(new QTableView),
      date_(new QDateEdit), weekday_(new QLabel), from_(new QTimeEdit), to_(new QTimeEdit),
      onlyTrains_(new QCheckBox("Solo &treni")), kinds_(new QTableWidget(0, 3)),
      useStation_(new QCheckBox("&Usa il nome della stazione e i binari del feed")),
      chooseTracks_(new QCheckBox("Scegli i bi&nari dei treni che non ne hanno")),
      linkBlocks_(new QCheckBox("Co&llega i treni di una stessa rotazione (block_id del feed)")),
      present_(new QLabel), addNew_(new QRadioButton("Aggiungi solo i nuo&vi")),
      replace_(new QRadioButton("S&ostituiscili, tenendo binari, ritardi, indicazioni e note")),
      addAll_(new QRadioButton("Aggiungi anche &quelli: ogni treno due volte")),
      preview_(new QTableWidget(0, 7)), count_(new QLabel) {
    setObjectName("importaGtfs");
    setWindowTitle("Importa orario GTFS");
    setUpStations();
    setUpDay(feed, scenario_);
    setUpTables();
    // The user's categories of earlier imports.
    const QVariantMap remembered = QSettings().value(kCategoriesKey).toMap();
    for (auto it = remembered.begin(); it != remembered.end(); ++it) {
        if (const auto position = positionIn(kCategorie, it.value().toString().toStdString()))
            choice_.categories[it.key().toStdString()] = *position;
    }
    layOut();
    connectChoices();
    new WindowGeometry(this, "importaGtfs", QSize(980, 680));
    reloadStations();
    reloadDay();
}

void GtfsImportDialog::setUpStations() {
    search_->setObjectName("cercaStazione");
    search_->setPlaceholderText("Cerca una stazione");
    search_->setClearButtonEnabled(true);
    stations_->setHorizontalHeaderLabels({"Stazione", "Treni"});
    filtered_->setSourceModel(stations_);
    filtered_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtered_->setFilterKeyColumn(0);
    stationList_->setObjectName("elencoStazioni");
    stationList_->setModel(filtered_);
    stationList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    stationList_->setSelectionMode(QAbstractItemView::SingleSelection);
    stationList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stationList_->verticalHeader()->hide();
    stationList_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    stationList_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(search_, &QLineEdit::textChanged, filtered_,
            &QSortFilterProxyModel::setFilterFixedString);
}

void GtfsImportDialog::setUpDay(const GtfsFeed& feed, const Scenario& scenario) {
    date_->setObjectName("dataServizio");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("dd/MM/yyyy");
    date_->setDateRange(toQDate(feed.firstDay), toQDate(feed.lastDay));
    const QDate today = QDate::currentDate();
    date_->setDate(toQDate(defaultServiceDay(feed, fromQDate(today))));
    weekday_->setObjectName("giornoSettimana");
    makeDateField(date_, weekday_);
    from_->setObjectName("dalle");
    to_->setObjectName("alle");
    from_->setTime(QTime(0, 0));
    to_->setTime(QTime(23, 59));
    onlyTrains_->setObjectName("soloTreni");
    onlyTrains_->setChecked(true);

    useStation_->setObjectName("usaStazioneFeed");
    useStation_->setVisible(scenario.totale_treni == 0);
    chooseTracks_->setObjectName("assegnaBinari");
    linkBlocks_->setObjectName("collegaBlocchi");
    linkBlocks_->setChecked(true);
    present_->setObjectName("giaPresenti");
    addNew_->setObjectName("soloNuovi");
    replace_->setObjectName("sostituisci");
    addAll_->setObjectName("aggiungiTutti");
    addNew_->setChecked(true);
}

void GtfsImportDialog::setUpTables() {
    kinds_->setObjectName("categorieGtfs");
    kinds_->setHorizontalHeaderLabels({"Tipo di servizio", "Treni", "Categoria"});
    kinds_->verticalHeader()->hide();
    kinds_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    kinds_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setObjectName("anteprima");
    preview_->setHorizontalHeaderLabels(
        {"Numero", "Categoria", "Provenienza", "Destinazione", "Arrivo", "Partenza", "Binario"});
    preview_->verticalHeader()->hide();
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    count_->setObjectName("conteggioGtfs");
    count_->setWordWrap(true);
    // Room for the notes: a wrapped label gets no more height than its first line asks for.
    count_->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    count_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void GtfsImportDialog::layOut() {
    auto* left = new QVBoxLayout;
    auto* searchLabel = new QLabel("&Stazione:");
    searchLabel->setBuddy(search_);
    left->addWidget(searchLabel);
    left->addWidget(search_);
    left->addWidget(stationList_);
    auto* form = new QFormLayout;
    auto* dateLabel = new QLabel("&Giorno:");
    dateLabel->setBuddy(date_);
    auto* day = new QHBoxLayout;
    day->addWidget(date_);
    day->addWidget(weekday_);
    day->addStretch();
    form->addRow(dateLabel, day);
    addTimeWindowRow(*form, from_, to_);
    form->addRow(onlyTrains_);
    form->addRow(useStation_);
    form->addRow(chooseTracks_);
    form->addRow(linkBlocks_);
    form->addRow(present_);
    for (QRadioButton* way : {addNew_, replace_, addAll_})
        form->addRow(way);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    auto* kindsLabel = new QLabel("&Categorie:");
    kindsLabel->setBuddy(kinds_);
    right->addWidget(kindsLabel);
    right->addWidget(kinds_);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 2);
    top->addLayout(right, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText("&Importa");
    ok_->setObjectName("importa");
    buttons->button(QDialogButtonBox::Cancel)->setText("&Annulla");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    auto* previewLabel = new QLabel("Ante&prima:");
    previewLabel->setBuddy(preview_);
    layout->addWidget(previewLabel);
    layout->addWidget(preview_, 2);
    layout->addWidget(count_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        rememberCategories();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void GtfsImportDialog::connectChoices() {
    connect(date_, &QDateEdit::dateChanged, this, [this] {
        reloadStations();
        reloadDay();
    });
    connect(onlyTrains_, &QCheckBox::toggled, this, [this] {
        reloadStations();
        refreshChoice();
    });
    connect(from_, &QTimeEdit::timeChanged, this, &GtfsImportDialog::refreshChoice);
    connect(to_, &QTimeEdit::timeChanged, this, &GtfsImportDialog::refreshChoice);
    connect(useStation_, &QCheckBox::toggled, this, &GtfsImportDialog::refreshChoice);
    connect(linkBlocks_, &QCheckBox::toggled, this, &GtfsImportDialog::refreshChoice);
    connect(chooseTracks_, &QCheckBox::toggled, this, &GtfsImportDialog::showPreview);
    for (QRadioButton* way : {addNew_, replace_, addAll_})
        connect(way, &QRadioButton::toggled, this, &GtfsImportDialog::showPreview);
    connect(stationList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &GtfsImportDialog::reloadDay);
}

bool GtfsImportDialog::chooseTracks() const {
    return chooseTracks_->isChecked();
}

PresentTrains GtfsImportDialog::presentTrains() const {
    return addNew_->isChecked()    ? PresentTrains::AddNew
           : replace_->isChecked() ? PresentTrains::Replace
                                   : PresentTrains::AddAll;
}

const StationDay* GtfsImportDialog::feedStation() const {
    return !useStation_->isHidden() && useStation_->isChecked() && day_ ? &*day_ : nullptr;
}

date::sys_days GtfsImportDialog::chosenDay() const {
    return fromQDate(date_->date());
}

bool GtfsImportDialog::scan(const std::function<void(const ScanProgress&)>& work) {
    const BackgroundOutcome outcome = readInBackground(this, "Lettura degli orari…", work);
    if (outcome.failure) {
        const DialogPrompts::Over over(prompts_, this);
        prompts_.showMessage(*outcome.failure, "Importazione GTFS", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    }
    return outcome.done;
}

void GtfsImportDialog::reloadStations() {
    // The station chosen stays chosen.
    const int chosen = dayStation_;
    std::vector<StationCount> counts;
    const date::sys_days day = chosenDay();
    const bool onlyTrains = onlyTrains_->isChecked();
    if (!scan([&](const ScanProgress& progress) {
            counts = stationsOfDay(feed_, day, onlyTrains, progress);
        }))
        return;
    const QSignalBlocker block(stationList_->selectionModel());
    stations_->removeRows(0, stations_->rowCount());
    int chosenRow = -1;
    for (const StationCount& station : counts) {
        auto* name = new QStandardItem(q(station.name));
        name->setData(station.stop, Qt::UserRole);
        name->setToolTip(q(station.id));
        auto* trains = new QStandardItem(QString::fromStdString(station.trainsText()));
        trains->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (station.stop == chosen)
            chosenRow = stations_->rowCount();
        stations_->appendRow({name, trains});
    }
    const QModelIndex row = filtered_->mapFromSource(stations_->index(std::max(chosenRow, 0), 0));
    if (row.isValid()) {
        stationList_->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
        stationList_->scrollTo(row);
    }
}

void GtfsImportDialog::reloadDay() {
    const QModelIndexList rows = stationList_->selectionModel()->selectedRows();
    day_.reset();
    dayStation_ = -1;
    if (!rows.isEmpty()) {
        const int station = filtered_->mapToSource(rows.first()).data(Qt::UserRole).toInt();
        StationDay read;
        const date::sys_days day = chosenDay();
        if (scan([&](const ScanProgress& progress) {
                read = readStationDay(feed_, station, day, progress);
            })) {
            day_ = std::move(read);
            dayStation_ = station;
            feedStationData_ = Scenario();
            useFeedStation(feedStationData_, *day_);
        }
    }
    refreshChoice();
}

void GtfsImportDialog::refreshChoice() {
    choice_.onlyTrains = onlyTrains_->isChecked();
    choice_.linkBlocks = linkBlocks_->isChecked();
    choice_.fromMinute = from_->time().hour() * 60 + from_->time().minute();
    choice_.toMinute = to_->time().hour() * 60 + to_->time().minute();
    chosen_ = day_ ? chooseTrains(*day_, choice_, feedStation() ? feedStationData_ : scenario_)
                   : ChosenTrains{};
    showKinds();
    showPreview();
}

void GtfsImportDialog::rememberCategories() const {
    QVariantMap remembered;
    for (const auto& [kind, category] : choice_.categories)
        remembered[q(kind)] = q(std::string(kCategorie[static_cast<std::size_t>(category)]));
    QSettings().setValue(kCategoriesKey, remembered);
}

} // namespace zeb
