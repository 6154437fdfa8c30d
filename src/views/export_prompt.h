#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zeb {

// Asks where to save a picture or a document, suggesting `suggestedName` and adding `extension`
// to a name typed without one, then writes it there with `write`; a write that fails is told in
// a warning over `parent`. Nothing happens when the dialog is cancelled.
void askAndExport(QWidget* parent, const QString& title, const QString& filter,
                  const QString& suggestedName, const QString& extension,
                  const std::function<bool(const QString&)>& write);

// Tests answer the export's file dialog through this hook; where it is set no dialog is shown.
std::function<QString()>& exportFileHook();

} // namespace zeb
