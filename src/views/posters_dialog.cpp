#include "views/posters_dialog.h"

#include "controls/file_names.h"
#include "paper/paper_files.h"
#include "paper/poster_painter.h"
#include "timetable/posters.h"
#include "views/dialog_prompts.h"
#include "views/export_prompt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zeb {

PostersDialog::PostersDialog(const Scenario& scenario, DialogPrompts& prompts, QWidget* parent)
    : QDialog(parent), s_(scenario), prompts_(prompts),
      departures_(new QRadioButton("&Partenze (fondo giallo)")),
      arrivals_(new QRadioButton("&Arrivi (fondo bianco)")),
      both_(new QRadioButton("&Entrambi, le partenze per prime")) {
    setObjectName("manifesti");
    setWindowTitle("Manifesti partenze e arrivi");
    departures_->setObjectName("manifestoPartenze");
    arrivals_->setObjectName("manifestoArrivi");
    both_->setObjectName("manifestoEntrambi");
    both_->setChecked(true);

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
    return posters;
}

PaperFile PostersDialog::exportPdf(const std::string& path) {
    return writePostersPdf(path, s_, chosenPosters());
}

void PostersDialog::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (prompts_.runDialog(dialog) == QDialog::Accepted)
        paintPosters(printer, chosenPosters());
}

} // namespace zeb
