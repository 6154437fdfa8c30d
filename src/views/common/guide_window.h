#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace zeb {

// "Guida di Zebrano": the pages of the guide shipped with the program, a contents list beside
// them, links between pages, back and forward, and a search of the page's text.
class GuideWindow : public QWidget {
    Q_OBJECT // found among a dialog's children by its type

        public : explicit GuideWindow(QWidget* parent = nullptr);

    // Brings the window up on `page` ("assegna_binari"), or on the contents for none.
    void showPage(const QString& page = QString());

private:
    void findNext();
    void fitPictures();

    QListWidget* contents_;
    QTextBrowser* text_;
    QLineEdit* search_;
};

} // namespace zeb
