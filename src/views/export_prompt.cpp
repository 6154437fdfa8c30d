#include "views/export_prompt.h"

#include "controls/file_names.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace zeb {

std::function<QString()>& exportFileHook() {
    static std::function<QString()> hook;
    return hook;
}

void askAndExport(QWidget* parent, const QString& title, const QString& filter,
                  const QString& suggestedName, const QString& extension,
                  const std::function<bool(const QString&)>& write) {
    QString chosen;
    if (exportFileHook()) {
        chosen = exportFileHook()();
    } else {
        QFileDialog dialog(parent, title, QDir::currentPath(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(extension);
        dialog.selectFile(suggestedName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    if (chosen.isEmpty())
        return;
    const QString path =
        QString::fromStdString(withExtension(chosen.toStdString(), extension.toStdString()));
    if (!write(path))
        QMessageBox::warning(parent, parent->windowTitle(),
                             "Non è stato possibile scrivere " + path + ".");
}

} // namespace zeb
