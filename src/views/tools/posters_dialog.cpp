#include "views/tools/posters_dialog.h"

#include "controls/file_names.h"
#include "paper/paper_files.h"
#include "paper/poster_painter.h"
#include "timetable/posters.h"
#include "views/common/dialog_prompts.h"
#include "views/common/export_prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace zeb {

PostersDialog::PostersDialog(const Scenario& scenario, DialogPrompts& prompts, QWidget* parent)
    : QDialog(parent), s_(scenario), prompts_(prompts),
      departures_(new QRadioButton("&Partenze (fondo giallo)")),
      arrivals_(new QRadioButton("&Arrivi (fondo bianco)")),
      both_(new QRadioButton("&Entrambi, le partenze per prime")), paper_(new QComboBox),
      valid_(new QCheckBox("&Valido dal")), validFrom_(new QDateEdit), validTo_(new QDateEdit) {
    setObjectName("manifesti");
    setWindowTitle("Manifesti partenze e arrivi");
    departures_->setObjectName("manifestoPartenze");
    arrivals_->setObjectName("manifestoArrivi");
    both_->setObjectName("manifestoEntrambi");
    both_->setChecked(true);
    paper_->setObjectName("formatoManifesti");
    paper_->addItems({"A4", "A3", "A2"});
    valid_->setObjectName("validita");
    validFrom_->setObjectName("validoDal");
    validTo_->setObjectName("validoAl");
    const QDate today = QDate::currentDate();
    for (QDateEdit* edit : {validFrom_, validTo_}) {
        edit->setDisplayFormat("dd/MM/yyyy");
        edit->setCalendarPopup(true);
        edit->setEnabled(false);
        connect(valid_, &QCheckBox::toggled, edit, &QWidget::setEnabled);
    }
    validFrom_->setDate(today);
    validTo_->setDate(QDate(today.year(), 12, 31));

    auto* buttons = new QDialogButtonBox;
    auto* pdf = buttons->addButton("Esporta P&DF…", QDialogButtonBox::ActionRole);
    pdf->setObjectName("esportaPdf");
    auto* paper = buttons->addButton("&Stampa…", QDialogButtonBox::ActionRole);
    paper->setObjectName("stampa");
    buttons->addButton(QDialogButtonBox::Close)->setText("&Chiudi");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("I manifesti della stazione, con i treni dello scenario:"));
    for (QRadioButton* choice : {departures_, arrivals_, both_})
        layout->addWidget(choice);
    auto* validity = new QHBoxLayout;
    validity->addWidget(valid_);
    validity->addWidget(validFrom_);
    validity->addWidget(new QLabel("al"));
    validity->addWidget(validTo_);
    validity->addStretch();
    layout->addLayout(validity);
    auto* sheet = new QHBoxLayout;
    auto* sheetLabel = new QLabel("&Formato:");
    sheetLabel->setBuddy(paper_);
    sheet->addWidget(sheetLabel);
    sheet->addWidget(paper_);
    sheet->addStretch();
    layout->addLayout(sheet);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pdf, &QPushButton::clicked, this, [this] {
        askAndExport(
            prompts_, this,
            {"Esporta PDF", "Documento PDF",
             QString::fromStdString(suggestedFileName(s_.nome_stazione, "manifesti", "pdf")),
             "pdf"},
            [this](const std::string& path) { return exportPdf(path).error; });
    });
    connect(paper, &QPushButton::clicked, this, &PostersDialog::print);
}

std::vector<Poster> PostersDialog::chosenPosters() const {
    std::vector<Poster> posters;
    if (!arrivals_->isChecked())
        posters.push_back(departuresPoster(s_));
    if (!departures_->isChecked())
        posters.push_back(arrivalsPoster(s_));
    auto calendar = [](const QDate& d) { return CalendarDate{d.year(), d.month(), d.day()}; };
    const QDate from = validFrom_->date();
    const QDate to = std::max(from, validTo_->date());
    for (Poster& poster : posters)
        poster.validity = valid_->isChecked() ? posterValidity(calendar(from), calendar(to)) : "";
    return posters;
}

PosterPaper PostersDialog::chosenPaper() const {
    return std::array{
        PosterPaper::A4, PosterPaper::A3,
        PosterPaper::A2}[static_cast<std::size_t>(std::max(0, paper_->currentIndex()))];
}

PaperFile PostersDialog::exportPdf(const std::string& path) {
    return writePostersPdf(path, s_, chosenPosters(), chosenPaper());
}

void PostersDialog::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (prompts_.runDialog(dialog) == QDialog::Accepted)
        paintPosters(printer, chosenPosters(), chosenPaper());
}

} // namespace zeb
