#include "views/export_prompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace zeb {

void askAndExport(QWidget* parent, const QString& title, const QString& filter,
                  const std::function<bool(const QString&)>& write) {
    const QString path = QFileDialog::getSaveFileName(parent, title, QString(), filter);
    if (!path.isEmpty() && !write(path))
        QMessageBox::warning(parent, parent->windowTitle(),
                             "Non è stato possibile scrivere " + path + ".");
}

} // namespace zeb
