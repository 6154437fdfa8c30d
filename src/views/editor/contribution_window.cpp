#include "views/editor/contribution_window.h"

#include "views/common/window_style.h"
#include "views/editor/artwork.h"

#include <QLabel>

namespace zeb {

namespace {

// Where the project lives and who answers; ours, not the simulator's.
constexpr const char* kProjectPage = "https://zebrano.example.org";
constexpr const char* kContactAddress = "contributi@zebrano.example.org";

// The texts wrap at word boundaries within their width; the picture shows through them.
void addText(QWidget* parent, const char* name, const QString& text, QRect where, bool bold) {
    auto* label = addLabel(parent, name, text, where, Qt::AlignLeft | Qt::AlignTop);
    label->setFont(verdanaFont(8.25, bold));
    label->setWordWrap(true);
}

} // namespace

ContributionWindow::ContributionWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle("Contributo");
    setWindowIcon(windowIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(fromTwips(0, 0, 4680, 3660).size());

    auto* background = addWidget<QLabel>(this, "Image1", fromTwips(-480, -360, 6000, 4140));
    background->setPixmap(contributionBackground());
    background->setScaledContents(true);

    addText(this, "Label1",
            "Per realizzare il simulatore è l'editor di scenari per il simulatore, sono state "
            "spese molte ore di lavoro, chiunque volesse mandare un contributo in denaro per "
            "ricompensare il lavoro svolto in questi mesi può farlo, qualsiasi cifra andrà "
            "bene, ringrazio anticipatamente qualsiasi persona contribuirà, è possibile spedire "
            "i soldi all'indirizzo che trovate sul sito:",
            fromTwips(120, 120, 4335, 1695), false);
    addText(this, "Label2", kProjectPage, fromTwips(120, 1865, 4335, 735), true);
    addText(this, "Label3",
            "E' anche possibile versarsi tramite postapay, per maggiori informazioni "
            "contattatemi a questo indirizzo email: ",
            fromTwips(120, 2280, 4335, 735), false);
    addText(this, "Label4", kContactAddress, fromTwips(120, 3000, 4335, 735), true);
    addText(this, "Label5", "Grazie a tutti.", fromTwips(120, 3360, 4335, 735), false);
}

} // namespace zeb
