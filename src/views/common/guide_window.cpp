#include "views/common/guide_window.h"

#include "views/common/window_geometry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace zeb {

namespace {

// The pages in the order of the contents, with their titles.
struct Page {
    const char* name;
    const char* title;
};
constexpr Page kPages[] = {
    {"indice", "Guida di Zebrano"},
    {"primo_scenario", "Primo scenario"},
    {"assegna_binari", "Scegliere i binari e le regole"},
    {"rischio_ritardi", "I ritardi previsti"},
    {"quadro_treni", "Il quadro dei treni"},
    {"occupazione_binari", "Il grafico di occupazione e la stampa"},
    {"tabelloni", "Tabelloni e annunci"},
    {"treni_csv", "Treni in un foglio di calcolo"},
    {"orario_gtfs", "Importare un giorno da un orario GTFS"},
    {"rotazioni", "Rotazioni e treni collegati"},
    {"giorno_perturbato", "Un giorno perturbato"},
    {"dati_editor", "I dati dell'editor e il recupero"},
    {"riga_di_comando", "Riga di comando"},
};

QUrl urlOf(const QString& page) {
    return QUrl("qrc:/guida/" + page + ".md");
}

} // namespace

GuideWindow::GuideWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), contents_(new QListWidget), text_(new QTextBrowser),
      search_(new QLineEdit) {
    setObjectName("guida");
    setWindowTitle("Guida di Zebrano");
    contents_->setObjectName("indiceGuida");
    text_->setObjectName("testoGuida");
    text_->setOpenExternalLinks(true);
    search_->setObjectName("cercaGuida");
    search_->setPlaceholderText("Cerca nella pagina");
    search_->setClearButtonEnabled(true);
    for (const Page& page : kPages) {
        auto* item = new QListWidgetItem(QString::fromUtf8(page.title), contents_);
        item->setData(Qt::UserRole, QString::fromLatin1(page.name));
    }
    auto* back = new QPushButton("◀ &Indietro");
    back->setObjectName("indietroGuida");
    auto* forward = new QPushButton("A&vanti ▶");
    forward->setObjectName("avantiGuida");
    back->setEnabled(false);
    forward->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    auto* searchLabel = new QLabel("&Cerca:");
    searchLabel->setBuddy(search_);
    bar->addWidget(searchLabel);
    bar->addWidget(search_, 1);
    auto* split = new QSplitter;
    split->addWidget(contents_);
    split->addWidget(text_);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    connect(back, &QPushButton::clicked, text_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, text_, &QTextBrowser::forward);
    connect(text_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(text_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(contents_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item != nullptr && text_->source() != urlOf(item->data(Qt::UserRole).toString()))
            text_->setSource(urlOf(item->data(Qt::UserRole).toString()),
                             QTextDocument::MarkdownResource);
    });
    // The contents follow the page shown, also when a link leads there.
    connect(text_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        fitPictures();
        for (int row = 0; row < contents_->count(); ++row) {
            if (urlOf(contents_->item(row)->data(Qt::UserRole).toString()) == url)
                contents_->setCurrentRow(row);
        }
    });
    connect(search_, &QLineEdit::returnPressed, this, &GuideWindow::findNext);
    new QShortcut(QKeySequence::FindNext, this, [this] { findNext(); });
    new QShortcut(QKeySequence::Find, this, [this] { search_->setFocus(); });
    new WindowGeometry(this, "guida", QSize(900, 640));
}

void GuideWindow::showPage(const QString& page) {
    text_->setSource(urlOf(page.isEmpty() ? QString("indice") : page),
                     QTextDocument::MarkdownResource);
    show();
    raise();
    activateWindow();
}

// The pictures of the page shrunk to the width of the text, their proportions kept.
void GuideWindow::fitPictures() {
    const double room = text_->viewport()->width() - 2 * text_->document()->documentMargin() - 4;
    QTextCursor cursor(text_->document());
    for (QTextBlock block = text_->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            if (!picture.isValid())
                continue;
            const QImage image = text_->document()
                                     ->resource(QTextDocument::ImageResource, picture.name())
                                     .value<QImage>();
            if (image.isNull() || image.width() <= room)
                continue;
            picture.setWidth(room);
            picture.setHeight(room * image.height() / image.width());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
}

// The next place of the text searched, from the start again past the last.
void GuideWindow::findNext() {
    const QString wanted = search_->text();
    if (wanted.isEmpty())
        return;
    if (!text_->find(wanted)) {
        text_->moveCursor(QTextCursor::Start);
        text_->find(wanted);
    }
}

} // namespace zeb
