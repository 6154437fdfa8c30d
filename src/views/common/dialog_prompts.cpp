#include "views/common/dialog_prompts.h"

#include "views/common/guide_window.h"
#include "views/editor/contribution_window.h"
#include "views/editor/station_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>

namespace zeb {

namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Qt reads the patterns from the last parentheses of a filter; the details are hidden, so the
// dialog shows the description exactly as given.
QString qtFilter(const FileFilter& filter) {
    return QString::fromStdString(filter.description + "(" + filter.pattern + ")");
}

// Every dialog starts in the working folder: without a folder of its own, Qt's dialog would
// reopen the folder visited last, and the dialogs are to remember nothing between calls.
QString startFolder() {
    return QDir::currentPath();
}

std::optional<std::string> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace

DialogPrompts::DialogPrompts(QWidget* parent) : parent_(parent) {}

DialogPrompts::~DialogPrompts() = default;

bool DialogPrompts::showProgress(const std::string& what, std::size_t done, std::size_t total) {
    if (done >= total) {
        progress_.reset();
        return true;
    }
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>(QString::fromStdString(what), "&Annulla", 0,
                                                      1000, parent_);
        progress_->setWindowModality(Qt::ApplicationModal);
        progress_->setMinimumDuration(300);
    }
    progress_->setValue(
        static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 1000));
    QApplication::processEvents(); // the windows stay alive while the work goes on
    return !progress_->wasCanceled();
}

Answer DialogPrompts::showMessage(const std::string& text, const std::string& title,
                                  MessageIcon icon, MessageButtons buttons) {
    if (onMessage)
        return onMessage({text, title, icon, buttons});
    const QString caption =
        title.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(title);
    QString body = QString::fromStdString(text);
    body.replace("\r\n", "\n");
    if (buttons == MessageButtons::Ok) {
        QMessageBox box(toQt(icon), caption, body, QMessageBox::Ok, parent_);
        box.setObjectName("messaggio");
        runDialog(box);
        return Answer::Ok;
    }
    if (buttons == MessageButtons::SaveDiscardCancel) {
        QMessageBox box(toQt(icon), caption, body,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
        box.button(QMessageBox::Save)->setText("&Salva");
        box.button(QMessageBox::Discard)->setText("&Non salvare");
        box.button(QMessageBox::Cancel)->setText("&Annulla");
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        box.setObjectName("messaggio");
        const int pressed = runDialog(box);
        return pressed == QMessageBox::Save      ? Answer::Save
               : pressed == QMessageBox::Discard ? Answer::Discard
                                                 : Answer::Cancel;
    }
    if (buttons == MessageButtons::OverwriteReloadCancel) {
        QMessageBox box(toQt(icon), caption, body, QMessageBox::Cancel, parent_);
        QAbstractButton* overwrite = box.addButton("&Sovrascrivi", QMessageBox::AcceptRole);
        QAbstractButton* reload = box.addButton("&Ricarica", QMessageBox::ActionRole);
        box.button(QMessageBox::Cancel)->setText("&Annulla");
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        box.setObjectName("messaggio");
        runDialog(box);
        return box.clickedButton() == overwrite ? Answer::Overwrite
               : box.clickedButton() == reload  ? Answer::Reload
                                                : Answer::Cancel;
    }
    QMessageBox box(toQt(icon), caption, body, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(buttons == MessageButtons::YesNoDefaultNo ? QMessageBox::No
                                                                   : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.setObjectName("messaggio");
    return runDialog(box) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<std::string> DialogPrompts::askSaveFileName(const FileFilter& filter) {
    if (onFileDialog)
        return onFileDialog(filter);
    if (!filter.extension.empty()) {
        // A name to start from where there is one, and the extension added to a name typed
        // without it, before the dialog asks whether to replace a file of that name.
        const QFileInfo suggested(QString::fromStdString(filter.suggestedName));
        const bool inFolder = !filter.suggestedName.empty() && suggested.dir().exists() &&
                              suggested.filePath() != suggested.fileName();
        QFileDialog dialog(parent_, QString::fromStdString(filter.title),
                           inFolder ? suggested.absolutePath() : startFolder(), qtFilter(filter));
        dialog.setObjectName("dialogoFile");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(QString::fromStdString(filter.extension));
        if (!filter.suggestedName.empty())
            dialog.selectFile(suggested.fileName());
        if (runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return chosen(dialog.selectedFiles().first());
    }
    // Qt's save dialog asks before overwriting and, without a default suffix, adds none.
    return chosen(QFileDialog::getSaveFileName(parent_, QString(), startFolder(), qtFilter(filter),
                                               nullptr, QFileDialog::HideNameFilterDetails));
}

std::optional<std::string> DialogPrompts::askOpenFileName(const FileFilter& filter) {
    if (onFileDialog)
        return onFileDialog(filter);
    return chosen(QFileDialog::getOpenFileName(parent_, QString(), startFolder(), qtFilter(filter),
                                               nullptr, QFileDialog::HideNameFilterDetails));
}

void DialogPrompts::openStationDialog(Scenario& scenario, ListBox& editorTrackList) {
    StationDialog dialog(scenario, editorTrackList, *this, parent_);
    runDialog(dialog);
}

void DialogPrompts::openContributionWindow() {
    ContributionWindow window(parent_);
    runDialog(window);
}

int DialogPrompts::runDialog(QDialog& dialog) {
    if (guidePage) {
        new QShortcut(QKeySequence::HelpContents, &dialog, [this, &dialog] {
            auto* guide = dialog.findChild<GuideWindow*>();
            if (guide == nullptr)
                guide = new GuideWindow(&dialog);
            guide->showPage(guidePage(dialog));
        });
    }
    if (!onDialog)
        return dialog.exec();
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    onDialog(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

} // namespace zeb
